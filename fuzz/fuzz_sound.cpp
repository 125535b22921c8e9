// Sound files held in memory: RIFF/WAVE and Ogg Vorbis, found from the bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/sound/SoundDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DecodedSound sound;
    std::string error;
    const bool ok = DecodeSound(data, size, sound, error);
    if (ok && (sound.channels < 1 || sound.channels > 2 || sound.rate <= 0 ||
               sound.samples.size() % std::size_t(sound.channels) != 0))
        std::abort();
    if (!ok && (!sound.samples.empty() || error.empty())) std::abort();  // failure keeps nothing and says why
    return 0;
}
