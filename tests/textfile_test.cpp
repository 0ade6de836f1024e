#include "game/files/fileimage.h"
#include "game/files/ioerror.h"
#include "game/files/textfile.h"
#include "support/ioerrors.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::vector<std::string> allLines(const std::string& bytes)
{
    TempDir dir;
    writeFileImage(dir.file("t.txt"), bytes);
    TextFile file(dir.file("t.txt"));
    file.openRead();
    std::vector<std::string> lines;
    do
        lines.push_back(file.readLine());
    while (!file.eof());
    file.close();
    return lines;
}

} // namespace

TEST(TextFile, linesEndAtLfOrCrLfAndLoneCrIsDropped)
{
    EXPECT_EQ(allLines("a\r\nb\nc\rd\r\n"), (std::vector<std::string>{"a", "b", "cd"}));
    EXPECT_EQ(allLines("last line without end"),
              (std::vector<std::string>{"last line without end"}));
}

TEST(TextFile, emptyFileReadsOneEmptyLineAtItsEnd)
{
    EXPECT_EQ(allLines(""), (std::vector<std::string>{""}));
}

TEST(TextFile, writtenLinesEndInCrLf)
{
    TempDir dir;
    TextFile file(dir.file("w.txt"));
    file.openReplacing();
    file.writeLine("Ana");
    file.writeLine("57");
    file.close();
    EXPECT_EQ(readBytes(dir.file("w.txt")), "Ana\r\n57\r\n");
}

TEST(TextFile, failuresCarryTheirNumberedCodesAndMessages)
{
    TempDir dir;
    TextFile missing(dir.file("missing.txt"));
    EXPECT_EQ(ioCodeOf([&] { missing.openRead(); }), 2);

    TextFile inMissingFolder(dir.file("no/such/folder.txt"));
    EXPECT_EQ(ioCodeOf([&] { inMissingFolder.openReplacing(); }), 2);

    // A folder in the way is found when the new file is to take its name.
    ::mkdir(dir.file("folder").c_str(), 0755);
    TextFile folder(dir.file("folder"));
    folder.openReplacing();
    folder.writeLine("Ana");
    EXPECT_EQ(ioCodeOf([&] { folder.close(); }), 5);
    EXPECT_EQ(filesBeside(dir.file("folder")), 1u); // the folder, no new file left beside it

    EXPECT_EQ(IoError(2).what(), std::string("File not found"));
    EXPECT_EQ(IoError(5).what(), std::string("File access denied"));
    EXPECT_EQ(IoError(106).what(), std::string("Invalid numeric input"));
    EXPECT_EQ(IoError(77).what(), std::string("I/O error 77"));
}

TEST(TextFile, readingAClosedFileIsAnError)
{
    TempDir dir;
    TextFile file(dir.file("x.txt"));
    EXPECT_EQ(ioCodeOf([&] { file.readLine(); }), 103);
    EXPECT_EQ(ioCodeOf([&] { file.close(); }), 103);
}

TEST(TextFile, integersSkipBlanksAndLineEndsAcceptSignsAndHexAndEndAfter32Characters)
{
    TempDir dir;
    writeFileImage(dir.file("n.txt"), "  \r\n\r\n -15 rest\r\n+7\r\n$1F\r\n0x10\r\nx1f X10\r\n" +
                                          std::string(31, '0') + "17\r\nX$\r\n");
    TextFile file(dir.file("n.txt"));
    file.openRead();
    EXPECT_EQ(file.readInteger(), -15);
    file.skipLine();
    EXPECT_EQ(file.readInteger(), 7);
    EXPECT_EQ(file.readInteger(), 31);
    EXPECT_EQ(file.readInteger(), 16);
    EXPECT_EQ(file.readInteger(), 31);
    EXPECT_EQ(file.readInteger(), 16);
    EXPECT_EQ(file.readInteger(), 1); // the 33rd character begins the next number
    EXPECT_EQ(file.readInteger(), 7);
    EXPECT_EQ(ioCodeOf([&] { file.readInteger(); }), 106);
    EXPECT_EQ(file.readInteger(), 0); // end of file
    file.close();
}

TEST(TextFile, integersOutsideThirtyTwoBitsAreInvalid)
{
    TempDir dir;
    writeFileImage(dir.file("n.txt"), "2147483647 -2147483648 2147483648 abc");
    TextFile file(dir.file("n.txt"));
    file.openRead();
    EXPECT_EQ(file.readInteger(), 2147483647);
    EXPECT_EQ(file.readInteger(), -2147483647 - 1);
    EXPECT_EQ(ioCodeOf([&] { file.readInteger(); }), 106);
    EXPECT_EQ(ioCodeOf([&] { file.readInteger(); }), 106);
    file.close();
}
