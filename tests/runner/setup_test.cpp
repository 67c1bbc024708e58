#include <gtest/gtest.h>

#include <filesystem>

#include "runner/run_program.h"

// The set-up's apt-get (tools/apt.sh) waits while another package install holds the lock,
// saying so once, and gives up with apt-get's own refusal when the wait is over.
TEST(Tools, PackageInstallsWaitForTheLockHeldByAnother) {
    const std::string dir = TempDir("apt-lock");
    const std::string lock = "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 7 (apt-get)\n";
    WriteFile(dir + "/apt-get", "n=$(($(cat " + dir + "/n 2>/dev/null || echo 0) + 1)); echo $n >" + dir +
                                    "/n\n[ $n -gt 2 ] && echo \"apt-get $*\" && exit 0\nprintf '" + lock +
                                    "' >&2; exit 100\n");
    WriteFile(dir + "/sudo", "\"$@\"\n");
    const std::string apt = "chmod +x " + dir + "/apt-get " + dir + "/sudo && PATH=" + dir +
                            ":$PATH bash -c 'source " KESTRAVA_SOURCE_DIR "/tools/apt.sh && apt_get update -qq'";
    TProgramResult run = RunCommand(apt);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "waiting for another package install to finish...\napt-get update -qq\n");
    std::filesystem::remove(dir + "/n");
    run = RunCommand("export KESTRAVA_APT_WAIT=0; " + apt);
    EXPECT_EQ(run.status, 100) << run.output;
    EXPECT_EQ(run.output, lock);
}
