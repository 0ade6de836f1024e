// Feeds arbitrary bytes to the Top 10 reader as the highscore file, through the real text-file
// layer. Every input must load or be rejected with an input/output error.
#include "game/files/fileimage.h"
#include "game/files/ioerror.h"
#include "game/files/topten.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string scratchFolder()
{
    const char* folder = std::getenv("TMPDIR");
    const std::string path =
        std::string(folder ? folder : "/tmp") + "/mudracq-fuzz-top10-" + std::to_string(::getpid());
    ::mkdir(path.c_str(), 0700);
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string folder = scratchFolder();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    writeFileImage(folder + "/" + kHighscoreFileName, bytes);
    TopTen table;
    try {
        table.LoadHighscores(folder);
    } catch (const IoError& error) {
        if (error.code() != 106)
            std::abort(); // a readable file fails only on a damaged score
        return 0;
    }
    // What loads saves back and loads again to the same table.
    table.SaveHighscores();
    TopTen again;
    again.LoadHighscores(folder);
    if (!(again.topTen == table.topTen))
        std::abort();
    return 0;
}
