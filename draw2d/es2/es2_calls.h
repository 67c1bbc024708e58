// The OpenGL ES 2.0 entry points the ES 2 driver uses, looked up through the installed window
// driver: the same code then runs over a desktop's GL library and a browser's WebGL, and the
// program links no ES library of its own.
#pragma once

#include <GLES2/gl2.h>

// X(result, field, GL name, parameters) for every entry point.
#define KESTRAVA_ES2_CALLS(X)                                                                    \
    X(void, attachShader, glAttachShader, (GLuint, GLuint))                                      \
    X(void, bindAttribLocation, glBindAttribLocation, (GLuint, GLuint, const GLchar*))           \
    X(void, bindBuffer, glBindBuffer, (GLenum, GLuint))                                          \
    X(void, bindFramebuffer, glBindFramebuffer, (GLenum, GLuint))                                \
    X(void, bindTexture, glBindTexture, (GLenum, GLuint))                                        \
    X(void, blendFunc, glBlendFunc, (GLenum, GLenum))                                            \
    X(void, bufferData, glBufferData, (GLenum, GLsizeiptr, const void*, GLenum))                 \
    X(GLenum, checkFramebufferStatus, glCheckFramebufferStatus, (GLenum))                        \
    X(void, clear, glClear, (GLbitfield))                                                        \
    X(void, clearColor, glClearColor, (GLfloat, GLfloat, GLfloat, GLfloat))                      \
    X(void, compileShader, glCompileShader, (GLuint))                                            \
    X(GLuint, createProgram, glCreateProgram, ())                                                \
    X(GLuint, createShader, glCreateShader, (GLenum))                                            \
    X(void, deleteBuffers, glDeleteBuffers, (GLsizei, const GLuint*))                            \
    X(void, deleteFramebuffers, glDeleteFramebuffers, (GLsizei, const GLuint*))                  \
    X(void, deleteProgram, glDeleteProgram, (GLuint))                                            \
    X(void, deleteShader, glDeleteShader, (GLuint))                                              \
    X(void, deleteTextures, glDeleteTextures, (GLsizei, const GLuint*))                          \
    X(void, disable, glDisable, (GLenum))                                                        \
    X(void, drawArrays, glDrawArrays, (GLenum, GLint, GLsizei))                                  \
    X(void, enable, glEnable, (GLenum))                                                          \
    X(void, enableVertexAttribArray, glEnableVertexAttribArray, (GLuint))                        \
    X(void, finish, glFinish, ())                                                                \
    X(void, framebufferTexture2D, glFramebufferTexture2D, (GLenum, GLenum, GLenum, GLuint, GLint)) \
    X(void, genBuffers, glGenBuffers, (GLsizei, GLuint*))                                        \
    X(void, genFramebuffers, glGenFramebuffers, (GLsizei, GLuint*))                              \
    X(void, genTextures, glGenTextures, (GLsizei, GLuint*))                                      \
    X(void, getIntegerv, glGetIntegerv, (GLenum, GLint*))                                        \
    X(void, getProgramiv, glGetProgramiv, (GLuint, GLenum, GLint*))                              \
    X(void, getShaderiv, glGetShaderiv, (GLuint, GLenum, GLint*))                                \
    X(GLint, getUniformLocation, glGetUniformLocation, (GLuint, const GLchar*))                  \
    X(void, linkProgram, glLinkProgram, (GLuint))                                                \
    X(void, pixelStorei, glPixelStorei, (GLenum, GLint))                                         \
    X(void, readPixels, glReadPixels, (GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*))   \
    X(void, scissor, glScissor, (GLint, GLint, GLsizei, GLsizei))                                \
    X(void, shaderSource, glShaderSource, (GLuint, GLsizei, const GLchar* const*, const GLint*)) \
    X(void, texImage2D, glTexImage2D,                                                            \
      (GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*))              \
    X(void, texParameteri, glTexParameteri, (GLenum, GLenum, GLint))                             \
    X(void, texSubImage2D, glTexSubImage2D,                                                      \
      (GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*))              \
    X(void, uniform1i, glUniform1i, (GLint, GLint))                                              \
    X(void, uniformMatrix4fv, glUniformMatrix4fv, (GLint, GLsizei, GLboolean, const GLfloat*))    \
    X(void, useProgram, glUseProgram, (GLuint))                                                  \
    X(void, vertexAttribPointer, glVertexAttribPointer,                                          \
      (GLuint, GLint, GLenum, GLboolean, GLsizei, const void*))                                  \
    X(void, viewport, glViewport, (GLint, GLint, GLsizei, GLsizei))

#define KESTRAVA_ES2_FIELD(result, field, name, parameters) result(GL_APIENTRYP field) parameters = nullptr;
struct TES2Calls {
    KESTRAVA_ES2_CALLS(KESTRAVA_ES2_FIELD)
};
#undef KESTRAVA_ES2_FIELD

// The process's table, filled by LoadES2Calls.
TES2Calls& ES2();
// Looks every entry point up with a context current; false, naming the first missing one in
// *missing, when one is not there.
bool LoadES2Calls(const char** missing);
