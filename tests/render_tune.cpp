// Renders a tune offline through the game's own synthesizer settings and writes the samples as
// raw 32-bit float stereo, for the loudness checks of tools/tunes/verify_tunes.py.
// Usage: render_tune SOUNDFONT TUNE_FILE OUTPUT_FILE
#include "platform/tunerenderer.h"

#include <cstdio>
#include <fstream>
#include <iterator>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: render_tune SOUNDFONT TUNE_FILE OUTPUT_FILE\n");
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary);
    const std::string tune{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const RenderedTune rendered = renderTuneOffline(tune, argv[1], 600);
    if (rendered.samples.empty() || !rendered.ended) {
        std::fprintf(stderr, "render_tune: %s could not be rendered with %s\n", argv[2], argv[1]);
        return 1;
    }
    std::ofstream out(argv[3], std::ios::binary);
    out.write(reinterpret_cast<const char*>(rendered.samples.data()),
              static_cast<std::streamsize>(rendered.samples.size() * sizeof(float)));
    return out.good() ? 0 : 1;
}
