#include "game/errors.h"
#include "game/files/fileimage.h"
#include "game/files/replacementfile.h"
#include "game/files/topten.h"
#include "game/ranking.h"
#include "support/ioerrors.h"
#include "support/scriptedwindow.h"
#include "support/tempdir.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs the check in a child process as an ordinary user (nobody when the tests run as root, for
// whom no folder is read-only) and returns its exit code. Run by an ordinary user, the check runs
// as that user: what it must not write is then made read-only rather than another user's.
int asOrdinaryUser(const std::function<int()>& check)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(90);
        ::_exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

std::string tableFile(const std::string& firstName)
{
    std::string bytes = firstName + "\r\n50\r\n";
    for (int k = 1; k < 10; ++k)
        bytes += "row " + std::to_string(k) + "\r\n" + std::to_string(10 - k) + "\r\n";
    return bytes;
}

} // namespace

TEST(Faults, unwritableDataFolderReportsAndLosesNothing)
{
    TempDir dir;
    const std::string folder = dir.file("readonly");
    ::mkdir(folder.c_str(), 0555);
    ::chmod(dir.path().c_str(), 0755);
    // Without a file the start-up cannot create one: "File access denied".
    EXPECT_EQ(asOrdinaryUser([&] {
                  TopTen table;
                  return ioCodeOf([&] { table.LoadHighscores(folder); });
              }),
              5);
    EXPECT_FALSE(std::filesystem::exists(folder + "/m_highscore.txt"));

    // With a file, the table loads; a save fails and the file stays as it was.
    const std::string before = tableFile("Ana");
    ::chmod(folder.c_str(), 0755); // writable only while the file is put in
    writeFileImage(folder + "/m_highscore.txt", before);
    ::chmod((folder + "/m_highscore.txt").c_str(), 0644);
    ::chmod(folder.c_str(), 0555);
    EXPECT_EQ(asOrdinaryUser([&] {
                  TopTen table;
                  table.LoadHighscores(folder);
                  if (table.topTen[0].name != "Ana")
                      return 1;
                  table.topTen[0] = {"Bob", 99};
                  return ioCodeOf([&] { table.SaveHighscores(); });
              }),
              5);
    EXPECT_EQ(readBytes(folder + "/m_highscore.txt"), before);
    ::chmod(folder.c_str(), 0755);
}

TEST(Faults, dataFolderThatIsAFileIsReportedAndLeftAlone)
{
    TempDir dir;
    const std::string inTheWay = dir.file("MudracQ");
    writeFileImage(inTheWay, "somebody's file");
    TopTen table;
    EXPECT_EQ(ioCodeOf([&] { table.LoadHighscores(inTheWay); }), 3);
    EXPECT_EQ(readBytes(inTheWay), "somebody's file");
}

TEST(Faults, saveKilledAtAnyMomentLeavesAWholeFile)
{
    TempDir dir;
    TopTen first;
    first.LoadHighscores(dir.path());
    const std::string original = readBytes(first.highscorePath);
    // Names as long as a row may hold make each save take a while, so kills land inside writes.
    const std::string a = tableFile(std::string(1'000, 'a'));
    const std::string b = tableFile(std::string(1'000, 'b'));
    for (int round = 0; round < 20; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            TopTen table;
            table.highscorePath = first.highscorePath;
            for (int n = 0;; ++n) {
                table.topTen[0].name = std::string(1'000, n % 2 ? 'b' : 'a');
                table.topTen[0].score = 50;
                for (int k = 1; k < 10; ++k)
                    table.topTen[static_cast<std::size_t>(k)] = {"row " + std::to_string(k),
                                                                 10 - k};
                table.SaveHighscores();
            }
        }
        ::usleep(static_cast<useconds_t>(1000 + round * 1500));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = readBytes(first.highscorePath);
        ASSERT_TRUE(now == original || now == a || now == b)
            << "round " << round << ": a torn file of " << now.size() << " bytes";
    }
    // The next start clears what the killed saves left behind, and saving still works.
    TopTen next;
    next.LoadHighscores(dir.path());
    EXPECT_EQ(filesBeside(first.highscorePath), 1u);
    first.SaveHighscores();
    EXPECT_EQ(readBytes(first.highscorePath), original);
}

namespace {

// What the error raised by the action says, message and detail line; empty when none is raised.
std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const GameError& error) {
        return std::string(error.what()) + "\n" + error.detail();
    }
    return {};
}

std::string lstatKind(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return "none";
    return S_ISLNK(info.st_mode) ? "link" : S_ISFIFO(info.st_mode) ? "fifo" : "file";
}

} // namespace

TEST(OddFiles, topTenThatExistsButCannotBeReadIsReportedAndNeverReplaced)
{
    struct Case {
        const char* what;
        std::function<void(const std::string& path)> make;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"unreadable",
         [](const std::string& p) { writeFileImage(p, tableFile("Ana")), ::chmod(p.c_str(), 0); },
         "File access denied"},
        {"dangling link",
         [](const std::string& p) { ::symlink("gone/m_highscore.txt", p.c_str()); },
         "File not found"},
        {"FIFO", [](const std::string& p) { ::mkfifo(p.c_str(), 0644); }, "Not a regular file"},
        {"link to /dev/zero", [](const std::string& p) { ::symlink("/dev/zero", p.c_str()); },
         "Not a regular file"},
        {"read-only, with a name of 5 MB",
         [](const std::string& p) {
             writeFileImage(p, tableFile(std::string(5 << 20, 'x'))), ::chmod(p.c_str(), 0444);
         },
         "Line 1 is longer than 1024 bytes"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        ::chmod(dir.path().c_str(), 0777);
        const std::string path = dir.file("m_highscore.txt");
        c.make(path);
        const std::string kind = lstatKind(path);
        const std::string before = kind == "file" ? readBytes(path) : "";
        // The load reports the file; a later save fails the same way and the file stays.
        EXPECT_EQ(asOrdinaryUser([&] {
                      TopTen table;
                      const std::string loaded = errorOf([&] { table.LoadHighscores(dir.path()); });
                      if (loaded.rfind(std::string(c.message) + "\n" + path, 0) != 0)
                          return 1;
                      const std::string saved = errorOf([&] {
                          table.saveChange(
                              [](HighscoreRows& rows) {
                                  return rows[0] = {"Bob", 99}, true;
                              },
                              "the result of Bob (IQ 99)");
                      });
                      return saved.find(": the result of Bob (IQ 99) was not saved.") !=
                                     std::string::npos
                                 ? 0
                                 : 2;
                  }),
                  0)
            << c.what;
        EXPECT_EQ(lstatKind(path), kind) << c.what;
        // Compared without printing: the file may hold megabytes.
        EXPECT_TRUE(kind != "file" || readBytes(path) == before) << c.what << ": the file changed";
    }
}

TEST(OddFiles, failedSaveNamesTheFileThatFailed)
{
    struct Case {
        const char* what;
        std::function<void(const std::string& folder)> make;
        const char* failed; // the file named, beside m_highscore.txt
        const char* message;
    };
    const std::vector<Case> cases = {
        {"lock file of mode 000",
         [](const std::string& f) {
             writeFileImage(f + "/m_highscore.txt.lock", ""),
                 ::chmod((f + "/m_highscore.txt.lock").c_str(), 0);
         },
         "/m_highscore.txt.lock", "File access denied"},
        {"folder as lock",
         [](const std::string& f) { ::mkdir((f + "/m_highscore.txt.lock").c_str(), 0755); },
         "/m_highscore.txt.lock", "File access denied"},
        {"link as lock",
         [](const std::string& f) {
             ::symlink("elsewhere", (f + "/m_highscore.txt.lock").c_str());
         },
         "/m_highscore.txt.lock", "Invalid filename"},
        {"folder named .bak",
         [](const std::string& f) {
             writeFileImage(f + "/m_highscore.txt", "Ana\r\nfifty\r\n");
             ::mkdir((f + "/m_highscore.txt.bak").c_str(), 0755);
         },
         "/m_highscore.txt.bak", "File access denied"},
        {"data folder a regular file",
         [](const std::string& f) { ::rmdir(f.c_str()), writeFileImage(f, "somebody's file"); },
         " is not a folder", "Invalid filename"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        ::chmod(dir.path().c_str(), 0777);
        const std::string folder = dir.file("MudracQ");
        ::mkdir(folder.c_str(), 0755);
        ::chmod(folder.c_str(), 0777);
        c.make(folder);
        const std::string expected = std::string(c.message) + "\n" + folder + c.failed +
                                     ": the result of Bob (IQ 99) was not saved.";
        EXPECT_EQ(asOrdinaryUser([&] {
                      TopTen table;
                      errorOf([&] { table.LoadHighscores(folder); });
                      const std::string saved = errorOf([&] {
                          table.saveChange(
                              [](HighscoreRows& rows) {
                                  return rows[0] = {"Bob", 99}, true;
                              },
                              "the result of Bob (IQ 99)");
                      });
                      if (saved == expected)
                          return 0;
                      std::fprintf(stderr, "%s\n", saved.c_str());
                      return 1;
                  }),
                  0)
            << c.what << ": " << expected;
    }
}

TEST(OddFiles, damagedRowIsKeptInABackupBeforeTheNextSave)
{
    TempDir dir;
    std::string damaged = tableFile("Ana");
    damaged.replace(damaged.find("row 2\r\n8"), 8, "row 2\r\n85abc");
    writeFileImage(dir.file("m_highscore.txt"), damaged);
    TopTen table;
    const std::string error = errorOf([&] { table.LoadHighscores(dir.path()); });
    EXPECT_EQ(error.substr(0, error.find('\n')), "Invalid numeric input");
    EXPECT_NE(error.find(", line 6: the rows from there on were not loaded. The next saved result "
                         "first keeps the old file as m_highscore.txt.bak."),
              std::string::npos);
    EXPECT_EQ(table.topTen[2], (Trezultat{"row 2", 0}));

    table.saveChange([](HighscoreRows& rows) { return rows[9] = {"Eva", 1}, true; }, "Eva");
    EXPECT_EQ(readBytes(dir.file("m_highscore.txt.bak")), damaged);
    EXPECT_EQ(table.topTen[0], (Trezultat{"Ana", 50}));
    EXPECT_EQ(table.topTen[9], (Trezultat{"Eva", 1}));
}

TEST(OddFiles, saveGoesThroughALinkIntoItsTargetAndLeavesOthersFilesAlone)
{
    TempDir dir;
    const std::string synced = dir.file("synced");
    ::mkdir(synced.c_str(), 0755);
    writeFileImage(synced + "/scores.txt", tableFile("Ana"));
    ::chmod((synced + "/scores.txt").c_str(), 0600);
    ::symlink((synced + "/scores.txt").c_str(), dir.file("m_highscore.txt").c_str());
    // A user's own file that only looks like a leftover, and a real leftover of a killed save.
    writeFileImage(dir.file("m_highscore.txt.20240101.tmp"), "mine");
    writeFileImage(synced + "/.scores.txt.mudracq-save-k1ll3d", "half a table");

    TopTen table;
    table.LoadHighscores(dir.path());
    EXPECT_EQ(table.topTen[0].name, "Ana");
    table.saveChange([](HighscoreRows& rows) { return rows[0] = {"Bob", 60}, true; }, "Bob");

    EXPECT_EQ(lstatKind(dir.file("m_highscore.txt")), "link");
    EXPECT_EQ(readBytes(synced + "/scores.txt").substr(0, 9), "Bob\r\n60\r\n");
    struct stat info {};
    ::stat((synced + "/scores.txt").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(readBytes(dir.file("m_highscore.txt.20240101.tmp")), "mine");
    EXPECT_FALSE(std::filesystem::exists(synced + "/.scores.txt.mudracq-save-k1ll3d"));
}

TEST(OddFiles, copiesSavingAtOnceKeepEveryResult)
{
    // One data folder, or two whose m_highscore.txt are links to one synced file.
    for (const bool linked : {false, true}) {
        for (int round = 0; round < 10; ++round) {
            TempDir dir;
            std::vector<std::string> folders(2, dir.path());
            if (linked) {
                writeFileImage(dir.file("synced.txt"), "");
                for (std::string& folder : folders) {
                    folder = dir.file(&folder == &folders[0] ? "a" : "b");
                    ::mkdir(folder.c_str(), 0755);
                    ::symlink("../synced.txt", (folder + "/m_highscore.txt").c_str());
                }
            }
            TopTen first;
            first.LoadHighscores(folders[0]);
            // Two processes, each entering five results as fast as it can.
            std::vector<pid_t> children;
            for (int copy = 0; copy < 2; ++copy) {
                const pid_t child = ::fork();
                if (child == 0) {
                    try {
                        TopTen table; // loaded before the other copy saves anything
                        table.LoadHighscores(folders[static_cast<std::size_t>(copy)]);
                        for (int k = 1; k <= 5; ++k) {
                            const std::string name = (copy ? "Beta" : "Alfa") + std::to_string(k);
                            table.saveChange(
                                [&](HighscoreRows& rows) {
                                    return rows[9] = {name, k}, SortHighscores(rows), true;
                                },
                                name);
                        }
                    } catch (const GameError&) {
                        ::_exit(1); // a save failed
                    }
                    ::_exit(0);
                }
                children.push_back(child);
            }
            for (const pid_t child : children) {
                int status = 0;
                ::waitpid(child, &status, 0);
                EXPECT_EQ(status, 0) << "a copy failed to save";
            }
            first.refresh();
            std::vector<std::string> names;
            for (const Trezultat& row : first.topTen)
                names.push_back(row.name);
            std::sort(names.begin(), names.end());
            EXPECT_EQ(names,
                      (std::vector<std::string>{"Alfa1", "Alfa2", "Alfa3", "Alfa4", "Alfa5",
                                                "Beta1", "Beta2", "Beta3", "Beta4", "Beta5"}))
                << (linked ? "linked folders, " : "one folder, ") << "round " << round;
        }
    }
}

TEST(OddFiles, fileDeletedWhileTheGameRunsIsWrittenAgainFromTheTableInMemory)
{
    TempDir dir;
    writeFileImage(dir.file("m_highscore.txt"), tableFile("Ana"));
    TopTen table;
    table.LoadHighscores(dir.path());
    std::filesystem::remove(dir.file("m_highscore.txt"));
    table.saveChange(
        [](HighscoreRows& rows) {
            return rows[9] = {"Ceca", 10}, SortHighscores(rows), true;
        },
        "Ceca");
    std::string expected = tableFile("Ana");
    expected.insert(expected.find("row 1"), "Ceca\r\n10\r\n");
    expected.erase(expected.find("row 9"));
    EXPECT_EQ(readBytes(dir.file("m_highscore.txt")), expected);
}

TEST(OddFiles, lockAnotherProgramHoldsNeverDelaysTheStartAndASaveSaysItWaits)
{
    TempDir dir;
    const std::string lockFile = dir.file("m_highscore.txt.lock");
    const auto holdLock = [&] {
        const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        EXPECT_EQ(::flock(fd, LOCK_EX), 0); // as another program holding it would
        return fd;
    };
    int held = holdLock();
    TopTen table;
    table.LoadHighscores(dir.path()); // at once: the first save creates the file
    EXPECT_EQ(table.topTen[0], (Trezultat{placeholderName, 0}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("m_highscore.txt")));

    ScriptedWindow window;
    Ranking ranking(table, window);
    int polls = 0;
    window.whileWaiting = [&] {
        if (++polls == 3)
            ::close(held);
    };
    window.names = {"Ana"};
    ranking.EnterHighscore(30);
    const std::string notice =
        "Saving the result: waiting for another program to release " + lockFile + ".";
    EXPECT_EQ(window.waitingNotices, (std::vector<std::string>{notice, ""}));
    EXPECT_EQ(polls, 3);
    EXPECT_EQ(readBytes(dir.file("m_highscore.txt")).substr(0, 9), "Ana\r\n30\r\n");

    // Held for good: the save gives up after its seconds, naming another program.
    held = holdLock();
    window.whileWaiting = {};
    window.names = {"Bob"};
    try {
        ranking.EnterHighscore(40);
        ADD_FAILURE() << "the save did not fail";
    } catch (const GameError& error) {
        EXPECT_EQ(std::string(error.what()), "Another program keeps " + lockFile + " locked");
        EXPECT_EQ(error.detail(), lockFile + ": the result of Bob (IQ 40) was not saved.");
    }
    EXPECT_EQ(window.waitingNotices.back(), "");
    EXPECT_EQ(table.topTen[0], (Trezultat{"Bob", 40}));
    ::close(held);
}

TEST(OddFiles, startRemovesWhatSavesKilledWhileWritingLeftAndNothingElse)
{
    TempDir dir;
    // A copy of the game killed while writing each of its files.
    for (const char* name : {"m_highscore.txt", "m_highscore.txt.bak", "temp.mid"}) {
        const pid_t child = ::fork();
        if (child == 0) {
            ReplacementFile file(dir.file(name));
            file.write("half a file");
            ::raise(SIGKILL);
        }
        ::waitpid(child, nullptr, 0);
    }
    writeFileImage(dir.file("temp.mid.20240101.tmp"), "mine");
    ReplacementFile stillWritten(dir.file("temp.mid")); // by a copy that is running
    TopTen table;
    table.LoadHighscores(dir.path());
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string().substr(0, 23));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".temp.mid.mudracq-save-", "m_highscore.txt",
                                               "m_highscore.txt.lock", "temp.mid.20240101.tmp"}));
    stillWritten.write("MThd");
    stillWritten.commit();
    EXPECT_EQ(readBytes(dir.file("temp.mid")), "MThd");
}

TEST(OddFiles, tuneFileReplacesWhateverStandsInItsPlace)
{
    TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    const std::string tune = dir.file("temp.mid");
    writeFileImage(dir.file("target"), "another user's file");
    for (const auto& make : std::vector<std::function<void()>>{
             [&] { ::symlink(dir.file("target").c_str(), tune.c_str()); },
             [&] { ::mkfifo(tune.c_str(), 0666); },
         }) {
        std::filesystem::remove(tune);
        make();
        // The target is not the ordinary user's to write, yet the link is theirs to replace.
        EXPECT_EQ(asOrdinaryUser([&] {
                      writeFileImage(tune, "MThd");
                      return 0;
                  }),
                  0);
        EXPECT_EQ(lstatKind(tune), "file");
        EXPECT_EQ(readBytes(tune), "MThd");
    }
    EXPECT_EQ(readBytes(dir.file("target")), "another user's file");
}
