#include "bankbuilder.h"

#include "game/files/fileimage.h"
#include "game/files/textfile.h"
#include "tempdir.h"

std::string bankText(const std::vector<int>& counts)
{
    std::string text;
    for (std::size_t g = 0; g < counts.size(); ++g) {
        const std::string group = "G" + std::to_string(g + 1);
        text += "@+++ GROUP " + std::to_string(g + 1) + " +++\r\n\r\n";
        for (int n = 1; n <= counts[g]; ++n) {
            const std::string q = group + " Q" + std::to_string(n);
            text += "-'" + q + "'\r\n" + q + " right*\r\n";
            for (int k = 1; k <= 3; ++k)
                text += q + " wrong " + std::to_string(k) + "\r\n";
            text += "\r\n";
        }
    }
    return text;
}

QuestionBank bankFrom(const std::string& text)
{
    TempDir dir;
    const std::string path = dir.path() + "/bank.txt";
    writeFileImage(path, text);
    QuestionBank groups;
    TextFile file(path);
    file.openRead();
    readQuestionFile(file, groups);
    file.close();
    return groups;
}
