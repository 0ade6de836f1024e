// Bank load: LoadQuestionBank on the shipped bank. Goal: under 1 ms.
#include "game/questionbank.h"
#include "game/resourceprovider.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <unistd.h>
#include <vector>

namespace {

class ShippedBank : public ResourceProvider {
public:
    explicit ShippedBank(std::string bytes) : m_bytes(std::move(bytes)) {}
    std::optional<std::string> find(const std::string& name) const override
    {
        if (name != kQuestionBankResource)
            return std::nullopt;
        return m_bytes;
    }

private:
    std::string m_bytes;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    std::ifstream in(argv[1], std::ios::binary);
    const ShippedBank bank{std::string(std::istreambuf_iterator<char>(in), {})};
    char folder[] = "/tmp/mudracq-bank-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0)
        return 1;

    constexpr int kRuns = 2000;
    std::vector<double> micros;
    for (int i = 0; i < kRuns; ++i) {
        QuestionBank groups;
        const auto start = std::chrono::steady_clock::now();
        LoadQuestionBank(bank, groups);
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        if (groups[4].count != 33)
            return 1;
    }
    rmdir(folder);
    std::sort(micros.begin(), micros.end());
    const double median = micros[micros.size() / 2];
    std::printf("bank load (%d runs): median %.1f us, 99th percentile %.1f us\n", kRuns, median,
                micros[micros.size() * 99 / 100]);
    std::printf("  ratio to the 1 ms goal: %.3f\n", median / 1000.0);
    return 0;
}
