#include "game/errors.h"
#include "game/fileimage.h"
#include "game/topten.h"
#include "support/ioerrors.h"
#include "support/tempdir.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs the check in a child process as an ordinary user (nobody when the tests run as root, for
// whom no folder is read-only) and returns its exit code.
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
    ::mkdir(folder.c_str(), 0755);
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
    writeFileImage(folder + "/m_highscore.txt", before);
    ::chmod((folder + "/m_highscore.txt").c_str(), 0644);
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
    // Long names make each save take a while, so the kills land inside the writes too.
    const std::string a = tableFile(std::string(300'000, 'a'));
    const std::string b = tableFile(std::string(300'000, 'b'));
    for (int round = 0; round < 20; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            TopTen table;
            table.highscorePath = first.highscorePath;
            for (int n = 0;; ++n) {
                table.topTen[0].name = std::string(300'000, n % 2 ? 'b' : 'a');
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
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1u);
    first.SaveHighscores();
    EXPECT_EQ(readBytes(first.highscorePath), original);
}
