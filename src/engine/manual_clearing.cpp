#include <cmath>

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
    const double seconds = NumericValue(TDel.Text()) * 60;
    if (seconds >= 60 && std::isfinite(seconds))
        LTime.SetText(DecimalText(seconds));
}

}  // namespace zelmora
