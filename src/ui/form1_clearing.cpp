#include <string>

#include "base/number_text.h"
#include "engine/freed_space.h"
#include "ui/form1.h"

namespace zelmora {

void Form1::Ccls_Click() {
    LTime.SetText("0");
}

void Form1::CDel_Click() {
    Tm1.SetEnabled(CDel.Value() == CheckState::Ticked);
}

void Form1::TDel_Change() {
    ReloadCountdown();
}

void Form1::ReloadCountdown() {
    if (const std::optional<double> seconds = CountdownFrom(NumericValue(TDel.Text())))
        LTime.SetText(DecimalText(*seconds));
}

void Form1::Label1_Click() {
    services_.messages.Show(DecimalText(Tm1.Interval()));
}

}  // namespace zelmora
