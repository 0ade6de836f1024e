// A player's question file of 5,000 questions (five groups of 1,000, Serbian Latin and Cyrillic
// text of every length the window shows), started with --questions: read from disk, checked
// line by line with every text measured in the window's fonts, then loaded as the bank.
// Goal: under 20 ms. Run on the offscreen platform.
#include "forms/questionfit.h"
#include "game/files/fileimage.h"
#include "game/questionfile.h"
#include "game/resourceprovider.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

class NoResources : public ResourceProvider {
public:
    std::optional<std::string> find(const std::string&) const override { return std::nullopt; }
};

std::string words(std::mt19937& random, std::size_t count)
{
    static const char* const vocabulary[] = {
        "koja",   "reka",  "protiče", "kroz",   "grad",    "je",      "najveći", "u",
        "Srbiji", "šta",   "čini",    "đak",    "žuta",    "ćuprija", "kada",    "gde",
        "која",   "река",  "тече",    "кроз",   "Београд", "највећи", "планина", "1914.",
        "godine", "zašto", "Dunav",   "Njegoš", "Šabac",   "Čačak",   "Užice",   "Đerdap"};
    std::string text;
    for (std::size_t k = 0; k < count; ++k) {
        if (k > 0)
            text += ' ';
        text += vocabulary[random() % std::size(vocabulary)];
    }
    return text;
}

std::string fiveThousandQuestions()
{
    std::mt19937 random(5000);
    std::string text;
    for (int g = 1; g <= 5; ++g) {
        text += "@+++ GRUPA " + std::to_string(g) + " +++\n\n";
        for (int n = 1; n <= 1000; ++n) {
            text += "-\"" + std::to_string(n) + " " + words(random, 3 + random() % 20) + "?\"\n";
            for (int k = 0; k < 4; ++k)
                text += std::to_string(k) + " " + words(random, 1 + random() % 5) +
                        (k == 0 ? "*\n" : "\n");
            text += "\n";
        }
    }
    return text;
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    char folder[] = "/tmp/mudracq-questions-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string path = std::string(folder) + "/pitanja.txt";
    const std::string file = fiveThousandQuestions();
    writeFileImage(path, file);

    const NoResources builtIn;
    constexpr int kRuns = 21;
    std::vector<double> rules, measured, whole, setUp;
    for (int i = 0; i < kRuns; ++i) {
        auto start = std::chrono::steady_clock::now();
        const std::string bytes = readQuestionFileBytes(path);
        if (!checkQuestionText(bytes, nullptr).playable())
            return 1;
        rules.push_back(millisecondsSince(start));

        start = std::chrono::steady_clock::now();
        const WindowTextFit fit;
        setUp.push_back(millisecondsSince(start));
        std::string played = readQuestionFileBytes(path);
        const QuestionFileReport report = checkQuestionText(played, &fit);
        const QuestionFileResources resources(builtIn, std::move(played));
        QuestionBank groups;
        LoadQuestionBank(resources, groups);
        whole.push_back(millisecondsSince(start));
        if (!report.playable() || groups[4].count != 1000)
            return 1;

        start = std::chrono::steady_clock::now();
        checkQuestionText(bytes, &fit);
        measured.push_back(millisecondsSince(start));
    }
    ::unlink(path.c_str());
    ::rmdir(folder);
    std::printf("question file of 5,000 questions, %.2f MB (median of %d): whole start-up path "
                "%.1f ms "
                "(measure set up %.1f ms, check with every text measured %.1f ms; read and check "
                "without measuring %.1f ms)\n",
                static_cast<double>(file.size()) / (1 << 20), kRuns, median(whole), median(setUp),
                median(measured), median(rules));
    std::printf("  ratio to the 20 ms goal: %.2f\n", median(whole) / 20.0);
    return 0;
}
