#pragma once
// "SPResults": the congratulation and the story's end after the last
// built-in level.
class Level;

namespace LevelData::SPResults {
Level* _Init();
}
