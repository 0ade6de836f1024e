#include "game/errors.h"
#include "game/files/fileimage.h"
#include "game/questionbank.h"
#include "support/bankbuilder.h"
#include "support/fakes.h"
#include "support/tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string rejection(const std::string& text)
{
    try {
        bankFrom(text);
    } catch (const GameError& error) {
        return error.what();
    }
    return "accepted";
}

// Runs a test step inside a directory of its own, as the program's current directory.
class InDirectory {
public:
    explicit InDirectory(const std::string& path) : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(path);
    }
    ~InDirectory() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

} // namespace

TEST(QuestionBankReader, readsQuestionTextAnswersAndMark)
{
    const auto groups = bankFrom("@+++ PRVA GRUPA +++\r\n\r\n"
                                 "-\"Koliko jedan metar ima milimetara?\"\r\n"
                                 "1000*\r\n100\r\n10000\r\nnijedan\r\n");
    ASSERT_EQ(groups[0].count, 1);
    const Tpitanje& q = groups[0].questions[0];
    EXPECT_EQ(q.text, "Koliko jedan metar ima milimetara?");
    EXPECT_EQ(q.answers, (std::array<std::string, 4>{"1000", "100", "10000", "nijedan"}));
    EXPECT_EQ(q.correct, 1);
}

TEST(QuestionBankReader, answerLinesAreNeverClassified)
{
    const auto groups = bankFrom("@\n-'Q'\n-5\n@not a header*\n-'x'\n7\n");
    ASSERT_EQ(groups[0].count, 1);
    EXPECT_EQ(groups[0].questions[0].answers,
              (std::array<std::string, 4>{"-5", "@not a header", "-'x'", "7"}));
    EXPECT_EQ(groups[0].questions[0].correct, 2);
    EXPECT_EQ(groups[1].count, 0);
}

TEST(QuestionBankReader, questionLineLosesTwoLeadingAndOneTrailingCharacter)
{
    const auto groups = bankFrom("@\n-'Bez navodnika?\na\nb\nc\nd\n-'?\na\nb\nc\nd\n");
    EXPECT_EQ(groups[0].questions[0].text, "Bez navodnika");
    EXPECT_EQ(groups[0].questions[1].text, "");
}

TEST(QuestionBankReader, marksDecideTheCorrectAnswer)
{
    const auto groups = bankFrom("@\n-'two marks'\na*\nb\nc*\nd\n"
                                 "-'no mark'\na\nb\nc\nd\n"
                                 "-'double star'\na\n**\nc\nd\n");
    EXPECT_EQ(groups[0].questions[0].correct, 3);
    EXPECT_EQ(groups[0].questions[0].answers[2], "c");
    EXPECT_EQ(groups[0].questions[1].correct, 0);
    EXPECT_EQ(groups[0].questions[2].correct, 2);
    EXPECT_EQ(groups[0].questions[2].answers[1], "*");
}

TEST(QuestionBankReader, separatorsBetweenBlocksDoNotMatter)
{
    const std::string tight = "@\r\n-'a'\r\n1*\r\n2\r\n3\r\n4\r\n-'b'\r\n1*\r\n2\r\n3\r\n4\r\n";
    const std::string loose =
        "@\r\n\r\n\r\n-'a'\r\n1*\r\n2\r\n3\r\n4\r\n \r\n\r\n-'b'\r\n1*\r\n2\r\n3\r\n4\r\n\r\n";
    const auto a = bankFrom(tight);
    const auto b = bankFrom(loose);
    ASSERT_EQ(a[0].count, 2);
    ASSERT_EQ(b[0].count, 2);
    EXPECT_EQ(a[0].questions[1].text, b[0].questions[1].text);
}

TEST(QuestionBankReader, emptyTextLoadsNothing)
{
    const auto groups = bankFrom("");
    for (const auto& group : groups)
        EXPECT_EQ(group.count, 0);
}

TEST(QuestionBankReader, inputOutsideTheFormatIsRejectedWithItsLine)
{
    EXPECT_EQ(rejection("@\n@\n@\n@\n@\n\n@\n"), "Question bank line 7: more than 5 groups");
    EXPECT_EQ(rejection("\n-'a'\n1*\n2\n3\n4\n"),
              "Question bank line 2: question before the first group header");
    EXPECT_EQ(rejection("@\n-'a'\n1*\n\n3\n4\n"), "Question bank line 4: empty answer line");
    EXPECT_EQ(rejection("@\n-'a'\n1*\n2\n"),
              "Question bank line 5: the text ends inside a question's answers");
    EXPECT_EQ(rejection(bankText({1001})),
              "Question bank line 6003: more than 1000 questions in a group");
    EXPECT_EQ(rejection(bankText({1000, 4})), "accepted");
}

TEST(LoadQuestionBank, readsTheResourceWithoutTouchingTheWorkingDirectory)
{
    TempDir dir;
    InDirectory inside(dir.path());
    // What a user may keep where the game is started: their own file, a link, a FIFO.
    writeFileImage("kvizomir.txt", "a user's own notes");
    std::filesystem::create_symlink("kvizomir.txt", "link");
    ::mkfifo("fifo", 0644);
    ::chmod(dir.path().c_str(), 0555);
    MapResources resources;
    resources.items["r_pitanja"] = bankText({73, 71, 71, 41, 33});
    QuestionBank groups;
    LoadQuestionBank(resources, groups);
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(groups[0].count, 73);
    EXPECT_EQ(groups[4].count, 33);
    EXPECT_EQ(readBytes("kvizomir.txt"), "a user's own notes");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 3u);
}

TEST(LoadQuestionBank, reportsAMissingResource)
{
    MapResources resources;
    QuestionBank groups;
    try {
        LoadQuestionBank(resources, groups);
        FAIL();
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "Resource r_pitanja not found");
    }
}

TEST(LoadQuestionBank, rejectedBankKeepsWhatWasRead)
{
    MapResources resources;
    resources.items["r_pitanja"] = bankText({4}) + "@\n-'broken'\n1*\n";
    QuestionBank groups;
    EXPECT_THROW(LoadQuestionBank(resources, groups), GameError);
    EXPECT_EQ(groups[0].count, 4);
}
