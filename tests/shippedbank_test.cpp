#include "game/questionbank.h"
#include "support/fakes.h"
#include "support/tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace {

std::string shippedBankBytes()
{
    return readBytes(MUDRACQ_SOURCE_DIR "/resources/r_pitanja.txt");
}

QuestionBank loadShippedBank()
{
    TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    MapResources resources;
    resources.items["r_pitanja"] = shippedBankBytes();
    QuestionBank groups;
    LoadQuestionBank(resources, groups);
    std::filesystem::current_path(previous);
    return groups;
}

} // namespace

TEST(ShippedBank, isPrintableAsciiWithCrLfAfterEveryLine)
{
    const std::string bytes = shippedBankBytes();
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r')
            ASSERT_EQ(bytes[i + 1], '\n') << "bare CR at byte " << i;
        else if (c == '\n')
            ASSERT_EQ(bytes[i - 1], '\r') << "bare LF at byte " << i;
        else
            ASSERT_TRUE(c >= 32 && c < 127) << "byte " << int(c) << " at " << i;
    }
}

TEST(ShippedBank, loadsFiveGroupsOfTheirSizes)
{
    const QuestionBank groups = loadShippedBank();
    EXPECT_EQ(groups[0].count, 73);
    EXPECT_EQ(groups[1].count, 71);
    EXPECT_EQ(groups[2].count, 71);
    EXPECT_EQ(groups[3].count, 41);
    EXPECT_EQ(groups[4].count, 33);
}

TEST(ShippedBank, everyQuestionHasOneMarkFittingTextsAndNoRepeats)
{
    const std::string bytes = shippedBankBytes();
    const QuestionBank groups = loadShippedBank();
    std::set<std::string> texts;
    std::set<std::set<std::string>> answerSets;
    for (const Tgrupa& group : groups) {
        for (int n = 0; n < group.count; ++n) {
            const Tpitanje& q = group.questions[static_cast<std::size_t>(n)];
            SCOPED_TRACE(q.text);
            EXPECT_NE(q.correct, 0);
            EXPECT_FALSE(q.text.empty());
            EXPECT_LE(q.text.size(), 119u);
            for (const std::string& answer : q.answers) {
                EXPECT_FALSE(answer.empty());
                EXPECT_LE(answer.size(), 53u);
                EXPECT_NE(answer.back(), '*');
            }
            // The text keeps its last character: it ends in a question mark or full stop.
            EXPECT_TRUE(q.text.back() == '?' || q.text.back() == '.');
            EXPECT_TRUE(texts.insert(q.text).second) << "repeated question";
            EXPECT_TRUE(answerSets.insert({q.answers.begin(), q.answers.end()}).second)
                << "repeated answer set";
            EXPECT_EQ(std::set<std::string>(q.answers.begin(), q.answers.end()).size(), 4u);
        }
    }
    // Exactly one marked answer line per question in the text itself.
    std::size_t marks = 0;
    for (std::size_t at = bytes.find("*\r\n"); at != std::string::npos;
         at = bytes.find("*\r\n", at + 1))
        ++marks;
    EXPECT_EQ(marks, texts.size());
}
