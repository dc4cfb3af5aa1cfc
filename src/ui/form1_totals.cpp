#include <cmath>

#include "base/number_text.h"
#include "ui/form1.h"

namespace zelmora {

namespace {

// Up to this many units are carried one at a time, each as a nested change with its own save. A
// hand-edited total past it is carried in one step, so the nesting can neither exhaust the stack nor
// write the settings file millions of times.
constexpr double kMaxNestedCarries = 1024;

}  // namespace

void Form1::TKB_Change() {
    CarryInto(TKB, TMB);
}

void Form1::TMB_Change() {
    CarryInto(TMB, TGB);
}

void Form1::CarryInto(Control& part, Control& next) {
    const double value = NumericValue(part.Text());
    if (value < 1024)
        return;
    const bool nested = value < kMaxNestedCarries * 1024;
    const double units = nested ? 1 : std::floor(value / 1024);
    if (std::isinf(NumericValue(next.Text()) + units))
        return;  // the next part would pass the largest number: nothing is carried
    part.SetText(DecimalText(nested ? value - 1024 : std::fmod(value, 1024)));
    next.SetText(DecimalText(NumericValue(next.Text()) + units));
    SaveTotals();
}

void Form1::TCls_Click() {
    TGB.SetText("0");
    TMB.SetText("0");
    TKB.SetText("0");
    SaveTotals();
}

void Form1::SaveTotals() {
    if (deferTotalsSave_) {
        totalsSaveDeferred_ = true;
        return;
    }
    ReadWriteIni("Cls", "TGB", TGB.Text(), IniMode::Write);
    ReadWriteIni("Cls", "TMB", TMB.Text(), IniMode::Write);
    ReadWriteIni("Cls", "TKB", TKB.Text(), IniMode::Write);
}

}  // namespace zelmora
