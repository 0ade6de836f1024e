#include "questionfile.h"

#include "game/errors.h"
#include "game/files/fileimage.h"
#include "game/files/textfile.h"
#include "game/scoring.h"
#include "game/utf8.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace {

constexpr const char* kCrLineEnds =
    "not plain text: the file uses CR line ends; save it with LF or CR LF line ends";

// The first control character of a line other than a tab, or -1 when it has none.
int controlByte(const std::string& line)
{
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F)
            return byte;
    }
    return -1;
}

// The line of the first CR that ends a line alone (CRs before an LF end it with the LF), 0 when
// the text has none.
int loneCrLine(const std::string& text)
{
    for (auto cr = text.find('\r'); cr != std::string::npos; cr = text.find('\r', cr)) {
        const auto next = text.find_first_not_of('\r', cr);
        if (next == std::string::npos || text[next] != '\n')
            return 1 + static_cast<int>(std::count(
                           text.begin(), text.begin() + static_cast<std::ptrdiff_t>(cr), '\n'));
        cr = next;
    }
    return 0;
}

// The encoding of a text in 16 or 32 bits a character, told by its byte order mark or, without
// one, by the zero bytes beside its first character (a file begins with "@", "-" or a space);
// nullptr for any other text.
const char* wideEncoding(std::string_view text)
{
    using namespace std::string_view_literals;
    const auto zeroAt = [&](std::size_t k) { return k < text.size() && text[k] == '\0'; };
    if (text.starts_with("\xFF\xFE\0\0"sv) || text.starts_with("\0\0\xFE\xFF"sv) ||
        (text.size() >= 4 && zeroAt(1) && zeroAt(2) && zeroAt(0) != zeroAt(3)))
        return "UTF-32";
    if (text.starts_with("\xFF\xFE"sv) || text.starts_with("\xFE\xFF"sv) ||
        (text.size() >= 2 && zeroAt(0) != zeroAt(1)))
        return "UTF-16";
    return nullptr;
}

bool isQuote(char c)
{
    return c == '"' || c == '\'';
}

// "U+00AD": the character as the Unicode standard names its code point.
std::string codePointName(char32_t c)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

std::string groupName(const std::string& header)
{
    const std::string frame = " \t+=*#-_~";
    const auto first = header.find_first_not_of(frame);
    if (first == std::string::npos)
        return {};
    return header.substr(first, header.find_last_not_of(frame) - first + 1);
}

// Hears the reading out and notes every problem, letting it go on past each.
class FileChecker : public BankListener {
public:
    FileChecker(const TextFit* fit, int crLine) : m_fit(fit), m_crLine(crLine) {}

    std::vector<BankProblem> problems;
    std::vector<GroupSummary> summary;
    int lastLine = 1;

    // A line that is not text ends the reading.
    struct NotText {};

    void add(int line, std::string what) { problems.push_back({line, std::move(what)}); }

    void rejected(int line, const std::string& why) override
    {
        add(line, why);
        // A broken question still counts towards its group's four once it is mended.
        if (!summary.empty())
            ++m_broken[summary.size() - 1];
    }

    void lineRead(int line, const std::string& text) override
    {
        lastLine = line;
        if (!text.empty() && text.front() == '-')
            m_recent[static_cast<std::size_t>(line) % m_recent.size()] = text;
        if (line == m_crLine) {
            add(line, kCrLineEnds);
            throw NotText{};
        }
        if (const int byte = controlByte(text); byte >= 0) {
            char what[64];
            std::snprintf(what, sizeof what, "not plain text: the line holds the byte 0x%02X",
                          byte);
            add(line, what);
            throw NotText{};
        }
        if (!isUtf8(text))
            add(line, "not UTF-8 text; save the file in the UTF-8 encoding");
    }

    void groupStarted(int /*group*/, int line, const std::string& header) override
    {
        summary.push_back({line, isUtf8(header) ? groupName(header) : std::string(), 0});
        m_broken.push_back(0);
    }

    void questionRead(int /*group*/, int line, const Tpitanje& question, int marks) override
    {
        ++summary.back().count;
        const std::string& raw = m_recent[static_cast<std::size_t>(line) % m_recent.size()];
        if (raw.size() < 3 || !isQuote(raw[1]) || !isQuote(raw.back()))
            add(line, "the question text is not enclosed in quotes");
        else if (lookOf(question.text).empty())
            add(line, "the question has no text");
        else if (shows(line, "question", question.text) && m_fit &&
                 !m_fit->questionFits(question.text))
            add(line, "the question is too long to be shown whole");
        if (marks == 0)
            add(line, "no answer ends with the * that marks the right one");
        else if (marks > 1)
            add(line, std::to_string(marks) +
                          " answers are marked right with *; a question has exactly one");
        // Answers are told apart as the player sees them.
        std::array<std::string, kAnswerCount> looks;
        for (int k = 0; k < kAnswerCount; ++k) {
            const std::string& answer = question.answers[static_cast<std::size_t>(k)];
            const int answerLine = line + 1 + k;
            looks[static_cast<std::size_t>(k)] = lookOf(answer);
            const std::string& look = looks[static_cast<std::size_t>(k)];
            if (look.empty())
                add(answerLine, "the answer is empty");
            else if (shows(answerLine, "answer", answer) && m_fit && !m_fit->answerFits(answer))
                add(answerLine, "the answer is too long to be shown whole");
            if (std::find(looks.begin(), looks.begin() + k, look) != looks.begin() + k)
                add(answerLine, "the same answer is given twice");
        }
    }

    // Whether every character of the text shows as text; notes the first that does not.
    bool shows(int line, const std::string& kind, const std::string& text)
    {
        if (const char32_t c = firstHiddenCharacter(text)) {
            add(line, "the " + kind + " holds " + codePointName(c) +
                          ", a control, format or line separator character");
            return false;
        }
        if (const char32_t c = m_fit ? m_fit->undrawable(text) : 0) {
            add(line, "the " + kind + " holds " + codePointName(c) +
                          ", which none of the window's fonts can draw");
            return false;
        }
        return true;
    }

    // What only the whole file tells: the number of groups and of questions in each.
    void checkGroups()
    {
        for (std::size_t g = 0; g < summary.size() && g < kGroupCount; ++g)
            if (summary[g].count + m_broken[g] < kQuestionsPerGroup)
                add(summary[g].line, "group " + std::to_string(g + 1) + " has " +
                                         counted(summary[g].count, "question") +
                                         "; a game asks 4 from each group");
        if (summary.size() < kGroupCount)
            add(lastLine, "the file has " + counted(summary.size(), "group") +
                              "; a game needs 5, each opened by a line beginning with @");
    }

private:
    const TextFit* m_fit;
    int m_crLine; // the first line a CR ends alone, 0 for none
    std::array<std::string, kAnswerCount + 1> m_recent; // the question line and its answers
    std::vector<int> m_broken;                          // questions rejected, by group
};

} // namespace

std::string counted(std::size_t count, const std::string& noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string readQuestionFileBytes(const std::string& path)
{
    return readFileImage(path, kMaxQuestionFileBytes);
}

QuestionFileReport checkQuestionText(const std::string& text, const TextFit* fit)
{
    QuestionFileReport report;
    if (const char* encoding = wideEncoding(text)) {
        report.problems.push_back({1, std::string("not UTF-8 text but ") + encoding +
                                          "; save the file in the UTF-8 encoding"});
        return report;
    }
    const int crLine = loneCrLine(text);
    FileChecker checker(fit, crLine);
    TextFile file("question file");
    file.openText(text);
    try {
        readQuestionFile(file, report.groups, checker);
        checker.checkGroups();
    } catch (const FileChecker::NotText&) {
    } catch (const GameError&) {
        // The text layer refuses a line longer than it reads; with CR line ends the whole file
        // is one line.
        if (file.lineNumber() == crLine)
            checker.add(crLine, kCrLineEnds);
        else
            checker.add(file.lineNumber(), "not plain text: the line is longer than " +
                                               std::to_string(TextFile::kMaxLineBytes) + " bytes");
    }
    report.problems = std::move(checker.problems);
    std::stable_sort(report.problems.begin(), report.problems.end(),
                     [](const BankProblem& a, const BankProblem& b) { return a.line < b.line; });
    report.summary = std::move(checker.summary);
    return report;
}

std::string problemMessage(const BankProblem& problem)
{
    return "Question file line " + std::to_string(problem.line) + ": " + problem.what;
}

std::optional<std::string> QuestionFileResources::find(const std::string& name) const
{
    if (name == kQuestionBankResource)
        return m_questions;
    return m_builtIn.find(name);
}
