#pragma once
// "CreditsScreen": the credits picture over the night sky without the
// ownership line. No screen leads to it; it opens by name.
class Level;

namespace LevelData::CreditsScreen {
Level* _Init();
}
