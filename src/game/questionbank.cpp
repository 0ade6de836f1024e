#include "questionbank.h"

#include "errors.h"
#include "resourceprovider.h"
#include "textfile.h"

namespace {

[[noreturn]] void rejectLine(int lineNumber, const std::string& why)
{
    throw GameError("Question bank line " + std::to_string(lineNumber) + ": " + why);
}

// "-", an opening quote, the text, a closing quote: the first two and the last character go,
// whatever they are.
std::string questionText(const std::string& line)
{
    if (line.size() <= 3)
        return {};
    return line.substr(2, line.size() - 3);
}

class BankReader {
public:
    BankReader(TextFile& file, QuestionBank& groups) : m_file(file), m_groups(groups) {}

    void run()
    {
        do {
            const std::string line = nextLine();
            if (line.empty())
                continue;
            if (line.front() == '@')
                startGroup();
            else if (line.front() == '-')
                readQuestion(line);
        } while (!m_file.eof());
    }

private:
    std::string nextLine()
    {
        ++m_lineNumber;
        return m_file.readLine();
    }

    void startGroup()
    {
        if (m_groupNumber == kGroupCount)
            rejectLine(m_lineNumber, "more than " + std::to_string(kGroupCount) + " groups");
        Tgrupa& group = m_groups[m_groupNumber++];
        group.count = 0;
        group.questions.clear();
    }

    void readQuestion(const std::string& line)
    {
        if (m_groupNumber == 0)
            rejectLine(m_lineNumber, "question before the first group header");
        Tgrupa& group = m_groups[m_groupNumber - 1];
        if (group.count == kMaxQuestionsPerGroup)
            rejectLine(m_lineNumber, "more than " + std::to_string(kMaxQuestionsPerGroup) +
                                         " questions in a group");
        Tpitanje question;
        question.text = questionText(line);
        for (int k = 1; k <= kAnswerCount; ++k) {
            if (m_file.eof())
                rejectLine(m_lineNumber + 1, "the text ends inside a question's answers");
            std::string answer = nextLine();
            if (answer.empty())
                rejectLine(m_lineNumber, "empty answer line");
            if (answer.back() == '*') {
                question.correct = static_cast<std::uint8_t>(k);
                answer.pop_back();
            }
            question.answers[k - 1] = std::move(answer);
        }
        group.questions.push_back(std::move(question));
        ++group.count;
    }

    TextFile& m_file;
    QuestionBank& m_groups;
    int m_groupNumber = 0;
    int m_lineNumber = 0;
};

} // namespace

void readQuestionFile(TextFile& file, QuestionBank& groups)
{
    BankReader(file, groups).run();
}

void LoadQuestionBank(const ResourceProvider& resources, QuestionBank& groups)
{
    TextFile bank(kQuestionBankResource);
    bank.openText(loadResource(resources, kQuestionBankResource));
    readQuestionFile(bank, groups);
    bank.close();
}
