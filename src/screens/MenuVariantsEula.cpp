// The licence screen's variants: accept goes on to the splash, decline quits.
#include "screens/MenuVariantSteps.h"

#include "framework/Object.h"

namespace MenuVariants {

namespace {

void BindDecline(Object* o) { BindEvent(o, "Logic", &GoTo<kQuit>); }

constexpr Variant kVariants[] = {
    {"EULAACCEPT", "Button", true, P(0.45f, -0.4f), S(0.3f, 0.1f), "EULA ACCEPT", nullptr, &BindFade<kHalvernSplash>,
     nullptr},
    {"EULADECLINE", "Button", true, P(-0.45f, -0.4f), S(0.3f, 0.1f), "EULA DECLINE", nullptr, &BindDecline, nullptr},
};

constexpr auto kRows = RowsOf<kVariants>();

}  // namespace

std::span<const ExObjectEntry> EulaRows() { return kRows; }

}  // namespace MenuVariants
