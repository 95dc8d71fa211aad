#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <glimmer/glimmer.h>
#include "tests/support/TestWorld.h"

namespace {

// Counts the stream calls the whole-file operations make through the interface.
class CountingFileSystem : public NativeFileSystem {
public:
    int reads = 0;
    int writes = 0;
    unsigned int Fread(void* buffer, unsigned int size, unsigned int count, FILE* stream) override {
        ++reads;
        return NativeFileSystem::Fread(buffer, size, count, stream);
    }
    unsigned int Fwrite(void* buffer, unsigned int size, unsigned int count, FILE* stream) override {
        ++writes;
        return NativeFileSystem::Fwrite(buffer, size, count, stream);
    }
};

// Pretends every write falls short.
class ShortWriteFileSystem : public NativeFileSystem {
public:
    unsigned int Fwrite(void*, unsigned int, unsigned int, FILE*) override { return 0; }
};

std::string ReadLine(FileSystem& fs, FILE* f) {
    char line[64] = {};
    return fs.Fgets(line, sizeof line, f) ? line : "<end>";
}

}  // namespace

TEST(NativeFileSystem, OpensNamesBelowTheRootWithOneForwardSlash) {
    TempDir dir;
    WriteTextFile(dir / "data/snow/snow.spr", "flake\n");
    NativeFileSystem fs;
    fs.Open((dir / "data").c_str());
    DebugLogReset();

    FILE* f = fs.Fopen("snow/snow.spr", "rt");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ReadLine(fs, f), "flake\n");
    fs.Fclose(f);
    EXPECT_TRUE(TraceHas("Opening snow/snow.spr in rt in filesystem opened from " + (dir / "data") + "\n"));

    // A leading slash in the name gives a double slash, which the host accepts.
    f = fs.Fopen("/snow/snow.spr", "rb");
    ASSERT_NE(f, nullptr);
    fs.Fclose(f);

    EXPECT_EQ(fs.Fopen("snow/missing.spr", "rt"), nullptr);
}

TEST(NativeFileSystem, SecondOpenReplacesTheRoot) {
    TempDir dir;
    WriteTextFile(dir / "one/a.txt", "one\n");
    WriteTextFile(dir / "two/a.txt", "two\n");
    NativeFileSystem fs;
    fs.Open((dir / "one").c_str());
    fs.Open((dir / "two").c_str());
    FILE* f = fs.Fopen("a.txt", "rt");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ReadLine(fs, f), "two\n");
    fs.Fclose(f);
}

TEST(NativeFileSystem, WithoutRootNamesAreRelativeToTheWorkingDirectory) {
    TempDir dir;
    WriteTextFile(dir / "here.txt", "here\n");
    ScopedChdir into(dir.Path());

    NativeFileSystem never;
    FILE* f = never.Fopen("here.txt", "rt");
    ASSERT_NE(f, nullptr);
    never.Fclose(f);

    NativeFileSystem closed;
    closed.Open("/no/such/root");
    closed.Close();
    char buffer[16] = {};
    EXPECT_EQ(closed.ReadFile(buffer, sizeof buffer, "here.txt"), 5u);

    NativeFileSystem nullRoot;
    nullRoot.Open("/no/such/root");
    nullRoot.Open(nullptr);
    EXPECT_EQ(nullRoot.WriteFile(buffer, 5, "copy.txt"), 5u);
    EXPECT_EQ(ReadTextFile(dir / "copy.txt"), "here\n");
}

TEST(NativeFileSystem, StreamOperationsPassThrough) {
    TempDir dir;
    WriteTextFile(dir / "fonts.cfg", "2 main  x");
    NativeFileSystem fs;
    fs.Open(dir.Path().c_str());
    FILE* f = fs.Fopen("fonts.cfg", "rb");
    ASSERT_NE(f, nullptr);

    int number = 0;
    EXPECT_EQ(fs.Fscanf(f, "%d", &number), 1);
    EXPECT_EQ(number, 2);
    char word[16] = {};
    EXPECT_EQ(fs.Fscanf(f, "%15s", word), 1);
    EXPECT_STREQ(word, "main");
    EXPECT_EQ(fs.Ftell(f), 6);
    EXPECT_EQ(fs.Fgetc(f), ' ');
    EXPECT_EQ(fs.Fseek(f, -1, SEEK_CUR), 0);  // give the character back
    EXPECT_EQ(fs.Fgetc(f), ' ');
    EXPECT_EQ(fs.Fgetc(f), ' ');
    EXPECT_EQ(fs.Fgetc(f), 'x');
    EXPECT_EQ(fs.Feof(f), 0u);
    EXPECT_EQ(fs.Fgetc(f), EOF);
    EXPECT_NE(fs.Feof(f), 0u);
    EXPECT_EQ(fs.Fscanf(f, "%d", &number), EOF);

    EXPECT_EQ(fs.Fseek(f, 0, SEEK_END), 0);
    EXPECT_EQ(fs.Ftell(f), 9);
    EXPECT_EQ(fs.Fseek(f, 0, SEEK_SET), 0);
    char bytes[4] = {};
    EXPECT_EQ(fs.Fread(bytes, 1, 4, f), 4u);
    EXPECT_EQ(std::string(bytes, 4), "2 ma");
    fs.Fclose(f);
}

TEST(NativeFileSystem, EndOfFileIsSeenOnlyAfterReadingPastIt) {
    TempDir dir;
    WriteTextFile(dir / "txt/txt.txt", "Happy\nNew Year\n");
    NativeFileSystem fs;
    fs.Open(dir.Path().c_str());
    FILE* f = fs.Fopen("txt/txt.txt", "rt");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(fs.Feof(f), 0u);
    EXPECT_EQ(ReadLine(fs, f), "Happy\n");
    EXPECT_EQ(ReadLine(fs, f), "New Year\n");
    EXPECT_EQ(fs.Feof(f), 0u);
    EXPECT_EQ(ReadLine(fs, f), "<end>");
    EXPECT_NE(fs.Feof(f), 0u);
    fs.Fclose(f);
}

TEST(NativeFileSystem, ReadFileReadsUpToTheMaximum) {
    TempDir dir;
    WriteTextFile(dir / "ten.bin", "0123456789");
    WriteTextFile(dir / "empty.bin", "");
    NativeFileSystem fs;
    fs.Open(dir.Path().c_str());
    DebugLogReset();

    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(fs.ReadFile(buffer, sizeof buffer, "ten.bin"), 10u);
    EXPECT_EQ(std::string(buffer, 11), "0123456789#");
    EXPECT_TRUE(TraceHas("Read file:ten.bin in filesystem opened from " + dir.Path() + "\n"));

    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(fs.ReadFile(buffer, 4, "ten.bin"), 4u);
    EXPECT_EQ(std::string(buffer, 5), "0123#");

    EXPECT_EQ(fs.ReadFile(buffer, sizeof buffer, "empty.bin"), 0u);
    EXPECT_EQ(fs.ReadFile(buffer, sizeof buffer, "missing.bin"), 0u);
}

TEST(NativeFileSystem, WriteFileCreatesOrEmptiesTheFile) {
    TempDir dir;
    WriteTextFile(dir / "out.bin", "a much longer old content");
    NativeFileSystem fs;
    fs.Open(dir.Path().c_str());
    DebugLogReset();

    char block[] = "abcdefghij";
    EXPECT_EQ(fs.WriteFile(block, 10, "out.bin"), 10u);
    EXPECT_EQ(ReadTextFile(dir / "out.bin"), "abcdefghij");
    EXPECT_TRUE(TraceHas("Write file:out.bin in filesystem opened from " + dir.Path() + "\n"));

    EXPECT_EQ(fs.WriteFile(block, 3, "new.bin"), 3u);
    EXPECT_EQ(ReadTextFile(dir / "new.bin"), "abc");

    EXPECT_EQ(fs.WriteFile(block, 10, "no/such/folder/out.bin"), 0u);
}

TEST(NativeFileSystem, WholeFileOperationsGoThroughTheObjectsOwnStreamCalls) {
    TempDir dir;
    CountingFileSystem counting;
    counting.Open(dir.Path().c_str());
    char block[] = "12345";
    EXPECT_EQ(counting.WriteFile(block, 5, "n.bin"), 5u);
    char back[5] = {};
    EXPECT_EQ(counting.ReadFile(back, 5, "n.bin"), 5u);
    EXPECT_EQ(counting.writes, 1);
    EXPECT_EQ(counting.reads, 1);

    ShortWriteFileSystem shortWrites;
    shortWrites.Open(dir.Path().c_str());
    EXPECT_EQ(shortWrites.WriteFile(block, 5, "short.bin"), 0u);
}
