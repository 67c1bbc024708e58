// Every test program's main. Under AddressSanitizer the leak check runs as soon as the tests
// end, while the threads they left behind (the GL driver's, SDL's) sit idle, instead of at
// exit, where it would race those threads' own shutdown: LeakSanitizer stopping a thread that
// is halfway through exiting can crash its own tracer and fail a test that passed.
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();   // a leak ends the program here with LeakSanitizer's exit code
#endif
    return status;
}
