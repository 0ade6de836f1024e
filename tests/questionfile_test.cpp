#include "game/errors.h"
#include "game/questionfile.h"
#include "game/utf8.h"
#include "support/bankbuilder.h"
#include "support/tempdir.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {

// Measures like a window whose question box takes 120 bytes and whose answers take 30, and
// whose fonts draw everything but the private use characters.
class ByteFit : public TextFit {
public:
    bool questionFits(const std::string& text) const override { return text.size() <= 120; }
    bool answerFits(const std::string& text) const override { return text.size() <= 30; }
    char32_t undrawable(const std::string& text) const override
    {
        for (std::size_t i = 0; i < text.size();)
            if (const char32_t c = nextCodePoint(text, i); c >= 0xE000 && c <= 0xF8FF)
                return c;
        return 0;
    }
};

std::string exampleFile()
{
    return readBytes(MUDRACQ_SOURCE_DIR "/examples/pitanja.txt");
}

// The example file with its lines changed: (line, text) replaces a line, text "" empties it,
// and a line number past the end appends.
std::string exampleWith(std::vector<std::pair<int, std::string>> edits)
{
    std::vector<std::string> lines;
    std::istringstream in(exampleFile());
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    for (auto& [number, text] : edits)
        if (number > static_cast<int>(lines.size()))
            lines.push_back(text);
        else
            lines[static_cast<std::size_t>(number - 1)] = text;
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

// The text with each line end replaced.
std::string withLineEnds(std::string text, const std::string& end)
{
    for (auto at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + end.size()))
        text.replace(at, 1, end);
    return text;
}

// An ASCII text spread over 16 bits a character, low byte first or last.
std::string wide(const std::string& ascii, bool lowFirst)
{
    std::string text;
    for (const char c : ascii)
        text += lowFirst ? std::string{c, '\0'} : std::string{'\0', c};
    return text;
}

std::string problemsOf(const std::string& text)
{
    const ByteFit fit;
    std::string found;
    for (const BankProblem& problem : checkQuestionText(text, &fit).problems)
        found += std::to_string(problem.line) + ": " + problem.what + "\n";
    return found;
}

} // namespace

TEST(QuestionFile, theExampleAndTheShippedBankCanBePlayed)
{
    const ByteFit fit;
    const QuestionFileReport example = checkQuestionText(exampleFile(), &fit);
    EXPECT_TRUE(example.playable()) << problemsOf(exampleFile());
    ASSERT_EQ(example.summary.size(), 5u);
    EXPECT_EQ(example.summary[3].name, "ČETVRTA GRUPA");
    EXPECT_EQ(example.summary[3].line, 79);
    EXPECT_EQ(example.groups[0].questions[3].answers[0], "Јупитер");
    // Editors that open UTF-8 with a byte order mark, and CR LF line ends, change nothing.
    EXPECT_EQ(problemsOf("\xEF\xBB\xBF" + exampleFile()), "");
    const std::string shipped = readBytes(MUDRACQ_SOURCE_DIR "/resources/r_pitanja.txt");
    EXPECT_TRUE(checkQuestionText(shipped, nullptr).playable()) << problemsOf(shipped);
}

TEST(QuestionFile, everyBrokenVariantIsReportedAtItsLine)
{
    const std::string crLineEnds =
        "not plain text: the file uses CR line ends; save it with LF or CR LF line ends\n";
    const std::string notUtf8 = "not UTF-8 text but ";
    const std::string saveUtf8 = "; save the file in the UTF-8 encoding\n";
    const std::string hidden = ", a control, format or line separator character\n";
    const std::string twice = "the same answer is given twice\n";
    const std::string ascii = "@ PRVA\n-'Koliko nogu ima pcela?'\nsest*\nosam\n";
    const std::string longQuestion = "-\"" + std::string(120, 'q') + "?\"";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {exampleWith({{4, "Dunav"}}), "3: no answer ends with the * that marks the right one\n"},
        {exampleWith({{5, "Sava*"}}),
         "3: 2 answers are marked right with *; a question has exactly one\n"},
        {exampleWith({{21, ""}}), "1: group 1 has 3 questions; a game asks 4 from each group\n"},
        {exampleWith({{6, ""}}), "6: empty answer line\n"},
        {exampleWith({{6, "Sava"}}), "6: the same answer is given twice\n"},
        {exampleWith({{9, "-Koliko nogu ima pčela?"}}),
         "9: the question text is not enclosed in quotes\n"},
        {exampleWith({{9, "-''"}, {10, "*"}}),
         "9: the question has no text\n10: the answer is empty\n"},
        {exampleWith({{15, longQuestion}, {16, std::string(31, 'a') + "*"}}),
         "15: the question is too long to be shown whole\n"
         "16: the answer is too long to be shown whole\n"},
        {exampleWith({{4, "Dunav\xE8*"}}),
         "4: not UTF-8 text; save the file in the UTF-8 encoding\n"},
        {exampleWith({{130, "@ SESTA GRUPA"}, {131, "-'x'"}, {132, "a*"}, {133, "b"}}),
         "130: more than 5 groups\n134: the text ends inside a question's answers\n"},
        {exampleWith({{105, "PETA GRUPA"}}),
         "129: the file has 4 groups; a game needs 5, each opened by a line beginning with @\n"},
        {"", "1: the file has 0 groups; a game needs 5, each opened by a line beginning with @\n"},
        {"-'x'\na*\nb\nc\nd\n" + exampleFile(), "1: question before the first group header\n"},
        {bankText({1001, 4, 4, 4, 4}), "6003: more than 1000 questions in a group\n"},
        // A file that is not text stops the reading at once.
        {exampleFile().insert(exampleFile().find("osam"), 1, '\0'),
         "11: not plain text: the line holds the byte 0x00\n"},
        {exampleWith({{10, std::string(2000, 'x')}}),
         "10: not plain text: the line is longer than 1024 bytes\n"},
        // The limit counts a line's text, whichever line end follows it.
        {withLineEnds(exampleWith({{1, "@" + std::string(1023, 'G')}}), "\r\n"), ""},
        {withLineEnds(exampleWith({{1, "@" + std::string(1024, 'G')}}), "\r\n"),
         "1: not plain text: the line is longer than 1024 bytes\n"},
        // Texts that would not show whole, or answers that would look alike.
        {exampleWith({{3, "-'Koja reka\tprotiče?'"}, {4, "Du\u2028nav*"}, {5, "Sa\u0085va"}}),
         "3: the question holds U+0009" + hidden + "4: the answer holds U+2028" + hidden +
             "5: the answer holds U+0085" + hidden},
        {exampleWith({{4, "Dunav*"}, {5, "Dunav "}, {6, "Dunav\u00A0"}, {7, "Dunav\u200B"}}),
         "5: " + twice + "6: " + twice + "7: the answer holds U+200B" + hidden + "7: " + twice},
        {exampleWith({{10, "še\u00ADst*"}, {11, "šest\u2060"}, {12, " šest"}, {13, "\u00A0"}}),
         "10: the answer holds U+00AD" + hidden + "11: the answer holds U+2060" + hidden +
             "11: " + twice + "12: " + twice + "13: the answer is empty\n"},
        {exampleWith({{9, "-' \u3000'"}, {10, "dva  puta*"}, {11, "dva puta"}}),
         "9: the question has no text\n11: " + twice},
        {exampleWith({{4, "Dunav\uE000*"}}),
         "4: the answer holds U+E000, which none of the window's fonts can draw\n"},
        // Line ends and encodings from other systems, said as such.
        {withLineEnds(exampleFile(), "\r"), "1: " + crLineEnds},
        {withLineEnds("@ A\n-'x'\n", "\r"), "1: " + crLineEnds},
        {exampleWith({{10, "osam\r*"}}), "10: " + crLineEnds},
        {"\xFF\xFE" + wide(ascii, true), "1: " + notUtf8 + "UTF-16" + saveUtf8},
        {wide(ascii, false), "1: " + notUtf8 + "UTF-16" + saveUtf8},
        {std::string("\0\0\xFE\xFF", 4) + wide(wide(ascii, false), false),
         "1: " + notUtf8 + "UTF-32" + saveUtf8},
        // Files joined with cat, each with its byte order mark: no group is lost.
        {withLineEnds(exampleFile(), "\n\xEF\xBB\xBF"), ""},
        {exampleWith(
             {{79, "\xEF\xBB\xBF@ ČETVRTA"}, {80, "\xEF\xBB\xBF"}, {81, "\xEF\xBB\xBF-'Ko?'"}}),
         ""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(problemsOf(text), expected);
}

TEST(QuestionFile, filesThatAreNoQuestionFilesSaySoWithoutBeingRead)
{
    TempDir dir;
    const auto errorFor = [](const std::string& path) -> std::string {
        try {
            readQuestionFileBytes(path);
        } catch (const GameError& error) {
            return error.what();
        }
        return "read";
    };
    ::mkfifo(dir.file("fifo").c_str(), 0644);
    std::filesystem::create_symlink("/dev/zero", dir.file("zero"));
    std::filesystem::create_symlink(dir.file("gone"), dir.file("dangling"));
    std::filesystem::create_directory(dir.file("folder"));
    // A hundred megabytes, sparse: refused by its size before a byte is read.
    {
        std::ofstream(dir.file("huge"));
    }
    std::filesystem::resize_file(dir.file("huge"), 100u << 20);
    EXPECT_EQ(errorFor(dir.file("missing")), "File not found");
    EXPECT_EQ(errorFor(dir.file("dangling")), "File not found");
    EXPECT_EQ(errorFor(dir.file("folder")), "Not a regular file");
    EXPECT_EQ(errorFor(dir.file("fifo")), "Not a regular file");
    EXPECT_EQ(errorFor(dir.file("zero")), "Not a regular file");
    EXPECT_EQ(errorFor(dir.file("huge")), "The file is larger than 8 MB");

    // Unreadable to an ordinary user (nobody, when the tests run as root).
    {
        std::ofstream(dir.file("secret")) << exampleFile();
    }
    ::chmod(dir.file("secret").c_str(), 0);
    ::chmod(dir.path().c_str(), 0755);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(90);
        ::_exit(errorFor(dir.file("secret")) == "File access denied" ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
