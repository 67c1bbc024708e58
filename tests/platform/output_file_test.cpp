#include "platform/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

void Put(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

int FilesIn(const std::string& folder) {
    return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

// A whole file replaces the old one only when complete, keeps its permissions and the link
// it was reached through; given up, it leaves the old one and nothing beside it.
TEST(OutputFile, AWholeFileTakesItsPlaceOnlyWhenComplete) {
    TTempDir temp;
    const std::string path = temp.Path() + "/t.jsonl", link = temp.Path() + "/link";
    Put(path, "old");
    chmod(path.c_str(), 0640);
    fs::create_symlink(path, link);
    std::string error;
    {
        TOutputFile file;
        ASSERT_TRUE(file.Open(link, "the trace", TOutputFile::TMode::Whole, &error)) << error;
        ASSERT_TRUE(file.Write("half") && file.Flush());
        EXPECT_EQ(ReadFile(path), "old");
    }   // given up
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(FilesIn(temp.Path()), 2);

    TOutputFile file;
    ASSERT_TRUE(file.Open(link, "the trace", TOutputFile::TMode::Whole, &error)) << error;
    ASSERT_TRUE(file.Write("new, whole") && file.WriteAt(0, "N"));
    ASSERT_TRUE(file.Close(&error)) << error;
    EXPECT_EQ(ReadFile(path), "New, whole");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0640));
    EXPECT_EQ(FilesIn(temp.Path()), 2);

    // In place, what was flushed is there at once; a device is written straight to.
    ASSERT_TRUE(file.Open(path, "the recording", TOutputFile::TMode::InPlace, &error)) << error;
    ASSERT_TRUE(file.Write("pass 0\n") && file.Flush());
    EXPECT_EQ(ReadFile(path), "pass 0\n");
    file.Abandon();
    if (!fs::exists("/dev/full")) return;
    ASSERT_TRUE(file.Open("/dev/full", "the trace", TOutputFile::TMode::Whole, &error)) << error;
    EXPECT_FALSE(file.Write("x") && file.Flush());
    EXPECT_EQ(file.Error(), "cannot write the trace /dev/full: No space left on device");
    EXPECT_FALSE(file.Close(&error));
}

// Before a run opens anything: an output never names an input or another output, by any
// of its names, and one that cannot be written is told with the reason.
TEST(OutputFile, TheFilesOfARunAreCheckedTogetherBeforeAnyIsOpened) {
    TTempDir temp;
    const std::string keys = temp.Path() + "/keys.txt", hard = temp.Path() + "/hard.txt";
    Put(keys, "1 down 32\n");
    ASSERT_EQ(link(keys.c_str(), hard.c_str()), 0);
    const struct {
        std::vector<TFileUse> files;
        int status;
        std::string says;
    } cases[] = {
        {{{keys, "the keys", false}, {temp.Path() + "/t", "the trace"}, {"/dev/null", "the audio capture"},
          {"/dev/null", "a picture"}}, 0, ""},
        {{{keys, "the keys", false}, {hard, "the trace"}}, 2,
         "the trace " + hard + " would overwrite the keys " + keys},
        {{{temp.Path() + "/t", "the trace"}, {temp.Path() + "/x/../t", "the audio capture"}}, 2,
         "the trace " + temp.Path() + "/t and the audio capture " + temp.Path() + "/x/../t are the same file"},
        {{{temp.Path(), "the trace"}}, 1, "cannot write the trace " + temp.Path() + ": Is a directory"},
        {{{temp.Path() + "/none/t", "the trace"}}, 1,
         "cannot write the trace " + temp.Path() + "/none/t: No such file or directory"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(CheckFiles(c.files, &error), c.status) << error;
        EXPECT_EQ(error, c.says);
    }
    EXPECT_EQ(ReadFile(keys), "1 down 32\n");
}
