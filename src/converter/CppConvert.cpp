#include "converter/CppConvert.h"

CppConvert cppConvert;

CppConvert::CppConvert() {
    ConvertReset();
    varSetsByType.clear();
    varTypeByName.clear();
    enumText.clear();
    lineNumber = 0;
    for (bool& flag : tokenizerFlags) flag = false;
    preamblePending = false;
    initTexts[0].clear();
    initTexts[1].clear();
}

CppConvert::~CppConvert() = default;

void CppConvert::ConvertReset() {
    functionLines.clear();
    tokens.clear();
    memberNames.clear();
    memberTypes.clear();
    memberValues.clear();
    memberCounts.clear();
    engineFunctions.clear();
    eventFunctions.clear();
    instanceNames.clear();
    instanceTypes.clear();
    engineNames.clear();
    engineValues.clear();
    kindText.clear();
    typeNameText.clear();
    memberDeclText.clear();
    headerTexts[0].clear();
    headerTexts[1].clear();
    initTexts[1].clear();
    tokenizerFlags[0] = false;
    tokenizerFlags[1] = false;
    // A conversion reads its file from the top.
    openWrappers = 0;
}
