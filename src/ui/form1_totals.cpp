#include "base/number_text.h"
#include "engine/freed_space.h"
#include "ui/form1.h"

namespace zelmora {

void Form1::TKB_Change() {
    CarryInto(TKB, TMB);
}

void Form1::TMB_Change() {
    CarryInto(TMB, TGB);
}

void Form1::CarryInto(TextBox part, TextBox next) {
    const std::optional<CarryStep> carry = CarryOf(NumericValue(part.Text()), NumericValue(next.Text()));
    if (!carry)
        return;
    const OpenSave save(*this);
    part.SetText(DecimalText(carry->part));
    next.SetText(DecimalText(NumericValue(next.Text()) + carry->units));
    SaveTotals();
}

void Form1::TCls_Click() {
    const OpenSave save(*this);
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
    const OpenSave save(*this);
    ReadWriteIni(Setting("TGB"), IniMode::Write, TGB.Text());
    ReadWriteIni(Setting("TMB"), IniMode::Write, TMB.Text());
    ReadWriteIni(Setting("TKB"), IniMode::Write, TKB.Text());
    savedTotals_ = Totals();
}

Form1::TotalsTexts Form1::Totals() const {
    return {TGB.Text(), TMB.Text(), TKB.Text()};
}

// After a cycle the totals are stored as soon as they changed: a carry has stored them already, otherwise they
// would wait for the next carry, a reset or the unload, and an end of the program meanwhile would lose them.
void Form1::StoreChangedTotals() {
    if (Totals() != savedTotals_)
        SaveTotals();
}

}  // namespace zelmora
