#include "draw2d/gl/gl_fragment_counter.h"

// Occlusion queries are OpenGL 1.5, beyond the 1.1 entry points <GL/gl.h> declares.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

namespace {

GLuint query = 0;       // made on the first count, reused for every count after it
bool counting = false;

}  // namespace

void GLBeginFragmentCount() {
    if (!query) glGenQueries(1, &query);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    counting = true;
}

long long GLEndFragmentCount() {
    if (!counting) return -1;
    glEndQuery(GL_SAMPLES_PASSED);
    counting = false;
    GLuint fragments = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &fragments);
    return fragments;
}

void GLFreeFragmentCounter() {
    if (counting) glEndQuery(GL_SAMPLES_PASSED);
    counting = false;
    if (query) glDeleteQueries(1, &query);
    query = 0;
}
