#include "questionbank.h"

#include "game/errors.h"
#include "game/files/textfile.h"
#include "game/resourceprovider.h"

namespace {

// "-", an opening quote, the text, a closing quote: the first two and the last character go,
// whatever they are.
std::string questionText(const std::string& line)
{
    if (line.size() <= 3)
        return {};
    return line.substr(2, line.size() - 3);
}

// Stops the reading at the first line outside the format.
class StrictListener : public BankListener {
public:
    void rejected(int line, const std::string& why) override
    {
        throw GameError("Question bank line " + std::to_string(line) + ": " + why);
    }
};

class BankReader {
public:
    BankReader(TextFile& file, QuestionBank& groups, BankListener& listener)
        : m_file(file), m_groups(groups), m_listener(listener)
    {
    }

    void run()
    {
        do {
            const std::string line = nextLine();
            if (line.empty())
                continue;
            if (line.front() == '@')
                startGroup(line);
            else if (line.front() == '-')
                readQuestion(line);
        } while (!m_file.eof());
    }

private:
    std::string nextLine()
    {
        ++m_lineNumber;
        std::string line = m_file.readLine();
        // Editors on some systems open a UTF-8 text with a byte order mark, and texts joined
        // with cat keep each one's mark at the start of its first line.
        if (line.starts_with("\xEF\xBB\xBF"))
            line.erase(0, 3);
        m_listener.lineRead(m_lineNumber, line);
        return line;
    }

    void startGroup(const std::string& line)
    {
        ++m_headers;
        m_listener.groupStarted(m_headers, m_lineNumber, line.substr(1));
        m_groupFull = false;
        if (m_headers > kGroupCount) {
            m_listener.rejected(m_lineNumber,
                                "more than " + std::to_string(kGroupCount) + " groups");
            return;
        }
        Tgrupa& group = m_groups[static_cast<std::size_t>(m_headers - 1)];
        group.count = 0;
        group.questions.clear();
    }

    void readQuestion(const std::string& line)
    {
        const int questionLine = m_lineNumber;
        const bool kept = hasRoom();
        Tpitanje question;
        question.text = questionText(line);
        int marks = 0;
        for (int k = 1; k <= kAnswerCount; ++k) {
            if (m_file.eof()) {
                m_listener.rejected(m_lineNumber + 1, "the text ends inside a question's answers");
                return;
            }
            std::string answer = nextLine();
            if (answer.empty()) {
                m_listener.rejected(m_lineNumber, "empty answer line");
                return; // the empty line ends the broken question
            }
            if (answer.back() == '*') {
                question.correct = static_cast<std::uint8_t>(k);
                answer.pop_back();
                ++marks;
            }
            question.answers[static_cast<std::size_t>(k - 1)] = std::move(answer);
        }
        if (!kept)
            return;
        Tgrupa& group = m_groups[static_cast<std::size_t>(m_headers - 1)];
        m_listener.questionRead(m_headers, questionLine, question, marks);
        group.questions.push_back(std::move(question));
        ++group.count;
    }

    // Whether the current group takes one more question; says why not, once per group.
    bool hasRoom()
    {
        if (m_headers == 0) {
            m_listener.rejected(m_lineNumber, "question before the first group header");
            return false;
        }
        if (m_headers > kGroupCount || m_groupFull)
            return false; // its header or its thousand-and-first question said so already
        if (m_groups[static_cast<std::size_t>(m_headers - 1)].count == kMaxQuestionsPerGroup) {
            m_groupFull = true;
            m_listener.rejected(m_lineNumber, "more than " + std::to_string(kMaxQuestionsPerGroup) +
                                                  " questions in a group");
            return false;
        }
        return true;
    }

    TextFile& m_file;
    QuestionBank& m_groups;
    BankListener& m_listener;
    int m_headers = 0;
    bool m_groupFull = false;
    int m_lineNumber = 0;
};

} // namespace

void readQuestionFile(TextFile& file, QuestionBank& groups)
{
    StrictListener strict;
    readQuestionFile(file, groups, strict);
}

void readQuestionFile(TextFile& file, QuestionBank& groups, BankListener& listener)
{
    BankReader(file, groups, listener).run();
}

void LoadQuestionBank(const ResourceProvider& resources, QuestionBank& groups)
{
    TextFile bank(kQuestionBankResource);
    bank.openText(loadResource(resources, kQuestionBankResource));
    readQuestionFile(bank, groups);
    bank.close();
}
