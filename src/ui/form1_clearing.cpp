#include <cmath>
#include <string>

#include "base/number_text.h"
#include "ui/form1.h"

namespace zelmora {

void Form1::Ccls_Click() {
    LTime.SetText("0");
}

void Form1::CDel_Click() {
    Tm1.SetEnabled(CDel.Value() == 1);
}

void Form1::TDel_Change() {
    ReloadCountdown();
}

// The countdown starts again from the interval, where that is one minute or more.
void Form1::ReloadCountdown() {
    const double seconds = NumericValue(TDel.Text()) * 60;
    if (seconds >= 60 && std::isfinite(seconds))
        LTime.SetText(DecimalText(seconds));
}

void Form1::Label1_Click() {
    services_.messages.Show(std::to_string(Tm1.Interval()));
}

}  // namespace zelmora
