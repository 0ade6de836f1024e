#include "game/files/fileimage.h"
#include "game/files/ioerror.h"
#include "game/files/topten.h"
#include "game/playername.h"
#include "support/tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string defaultFile()
{
    std::string bytes;
    for (int k = 0; k < 10; ++k)
        bytes += std::string(placeholderName) + "\r\n0\r\n";
    return bytes;
}

TopTen loadFrom(const TempDir& dir, const std::string& bytes)
{
    writeFileImage(dir.file("m_highscore.txt"), bytes);
    TopTen table;
    table.LoadHighscores(dir.path());
    return table;
}

} // namespace

TEST(HighscoreFile, missingFileIsCreatedWithTenPlaceholderRows)
{
    TempDir dir;
    TopTen table;
    table.LoadHighscores(dir.path());
    EXPECT_EQ(table.highscorePath, dir.file("m_highscore.txt"));
    EXPECT_EQ(readBytes(table.highscorePath), defaultFile());
    for (const Trezultat& row : table.topTen)
        EXPECT_EQ(row, (Trezultat{placeholderName, 0}));
}

TEST(HighscoreFile, emptyOrShortFilesLoadWithEmptyRowsAndAreNotRewritten)
{
    TempDir dir;
    const TopTen empty = loadFrom(dir, "");
    for (const Trezultat& row : empty.topTen)
        EXPECT_EQ(row, (Trezultat{"", 0}));
    EXPECT_EQ(readBytes(dir.file("m_highscore.txt")), "");

    const TopTen three = loadFrom(dir, "Ana\r\n57\r\nBob\r\n-3\r\nCeca\r\n1\r\n");
    EXPECT_EQ(three.topTen[0], (Trezultat{"Ana", 57}));
    EXPECT_EQ(three.topTen[1], (Trezultat{"Bob", -3}));
    EXPECT_EQ(three.topTen[2], (Trezultat{"Ceca", 1}));
    EXPECT_EQ(three.topTen[3], (Trezultat{"", 0}));
    EXPECT_EQ(three.topTen[9], (Trezultat{"", 0}));
}

TEST(HighscoreFile, readerToleratesBlanksBeforeScoresAndIgnoresTextAfterThem)
{
    TempDir dir;
    const TopTen table = loadFrom(dir, "Ana \r\n\r\n   12 points\r\nBob\r\n$10\nx\r\n7\r\n");
    EXPECT_EQ(table.topTen[0], (Trezultat{"Ana ", 12}));
    EXPECT_EQ(table.topTen[1], (Trezultat{"Bob", 16}));
    EXPECT_EQ(table.topTen[2], (Trezultat{"x", 7}));
}

TEST(HighscoreFile, blankLineBeforeANameShiftsTheRows)
{
    TempDir dir;
    const TopTen table = loadFrom(dir, "Ana\r\n5\r\n\r\n7\r\nBob\r\n4\r\n");
    EXPECT_EQ(table.topTen[0], (Trezultat{"Ana", 5}));
    EXPECT_EQ(table.topTen[1], (Trezultat{"", 7}));
    EXPECT_EQ(table.topTen[2], (Trezultat{"Bob", 4}));
}

TEST(HighscoreFile, lettersForAScoreStopTheLoadKeepingWhatWasRead)
{
    TempDir dir;
    writeFileImage(dir.file("m_highscore.txt"), "Ana\r\n57\r\nBob\r\nabc\r\nCeca\r\n3\r\n");
    TopTen table;
    try {
        table.LoadHighscores(dir.path());
        FAIL();
    } catch (const IoError& error) {
        EXPECT_EQ(error.code(), 106);
        EXPECT_STREQ(error.what(), "Invalid numeric input");
    }
    EXPECT_EQ(table.topTen[0], (Trezultat{"Ana", 57}));
    EXPECT_EQ(table.topTen[1], (Trezultat{"Bob", 0}));
    EXPECT_EQ(table.topTen[2], (Trezultat{"", 0}));
}

TEST(HighscoreFile, saveThenLoadGivesTheSameBytes)
{
    TempDir dir;
    TopTen table;
    table.highscorePath = dir.file("m_highscore.txt");
    table.topTen[0] = {"\xC4\x90or\xC4\x91"
                       "e",
                       120};
    table.topTen[1] = {"\xD0\x9C\xD0\xB8\xD0\xBB\xD0\xBE\xD1\x88", 40};
    table.topTen[2] = {"old \xE8 latin", -5};
    table.topTen[3] = {"  spaced  ", 0};
    // The longest names the name entry gives, typed or pasted.
    table.topTen[4] = {cleanPlayerName(std::string(2'000, 'a')), 7};
    std::string pasted;
    for (int k = 0; k < 40'000; ++k)
        pasted += "\xC4\x8D";
    table.topTen[5] = {cleanPlayerName(pasted), 3};
    ASSERT_EQ(table.topTen[4].name.size(), 1024u);
    table.SaveHighscores();
    const std::string saved = readBytes(table.highscorePath);
    const std::string first = "\xC4\x90or\xC4\x91"
                              "e\r\n120\r\n";
    EXPECT_EQ(saved.substr(0, first.size()), first);
    TopTen again;
    again.LoadHighscores(dir.path());
    EXPECT_EQ(again.topTen, table.topTen);
    again.SaveHighscores();
    EXPECT_EQ(readBytes(table.highscorePath), saved);
    EXPECT_NE(saved.find("old \xE8 latin\r\n-5\r\n"), std::string::npos);
}

TEST(HighscoreFile, saveThatFailsKeepsThePreviousFile)
{
    TempDir dir;
    TopTen table;
    table.LoadHighscores(dir.path());
    const std::string before = readBytes(table.highscorePath);
    table.topTen[0] = {std::string(1'000, 'n'), 99};

    // A file-size limit stands in for a full disk; the child reports what the save raised.
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{512, 512};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN);
        try {
            table.SaveHighscores();
        } catch (const IoError& error) {
            ::_exit(error.code() == 101 ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save should fail with Disk full";
    EXPECT_EQ(readBytes(table.highscorePath), before);
    EXPECT_EQ(filesBeside(table.highscorePath), 1u) << "no temporary file stays behind";
}

TEST(HighscoreFile, unwritableFolderReportsAndKeepsTheFile)
{
    TempDir dir;
    TopTen table;
    table.highscorePath = dir.file("missing-folder/m_highscore.txt");
    try {
        table.SaveHighscores();
        FAIL();
    } catch (const IoError& error) {
        EXPECT_EQ(error.code(), 2);
    }
}
