// The save file in the user's folder, read into the game's settings and
// written back; what was written must read back to the same settings.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "FuzzSupport.h"
#include "framework/Game.h"
#include "framework/GameVariables.h"
#include "framework/Globals.h"
#include "framework/SaveFile.h"
#include "framework/State.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::TempFolder home;
    static bool ready = [] {
        State::hooks = StateHooks{};
        Game::hooks = GameHooks{};
        Game::_FirstInit();
        return CopyPath(Globals.userDataFolder, home.Path()) && GetMyGame() != nullptr;
    }();
    if (!ready) std::abort();
    {
        std::ofstream out(SaveFilePath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    DataLoad();
    DataSave();
    const std::string first = ReadAll(SaveFilePath());
    DataLoad();
    DataSave();
    if (ReadAll(SaveFilePath()) != first) std::abort();  // what was saved does not load back
    return 0;
}
