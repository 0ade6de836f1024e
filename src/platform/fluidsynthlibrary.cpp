#include "fluidsynthlibrary.h"

#include <dlfcn.h>
#include <initializer_list>

namespace {

FluidSynthLibrary* load()
{
    void* handle = ::dlopen("libfluidsynth.so.3", RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return nullptr;
    static FluidSynthLibrary library;
    bool complete = true;
#define MUDRACQ_FLUID_RESOLVE(name)                                                                \
    library.name = reinterpret_cast<decltype(library.name)>(::dlsym(handle, #name));               \
    complete = complete && library.name != nullptr;
    MUDRACQ_FLUID_FUNCTIONS(MUDRACQ_FLUID_RESOLVE)
#undef MUDRACQ_FLUID_RESOLVE
    if (!complete)
        return nullptr;
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        library.fluid_set_log_function(level, nullptr, nullptr);
    return &library;
}

} // namespace

const FluidSynthLibrary* fluidSynth()
{
    static const FluidSynthLibrary* const library = load();
    return library;
}

void applySoundSettings(const FluidSynthLibrary& fs, fluid_settings_t* settings)
{
    fs.fluid_settings_setnum(settings, "synth.sample-rate", kSynthSampleRate);
    fs.fluid_settings_setnum(settings, "synth.gain", kSynthGain);
}
