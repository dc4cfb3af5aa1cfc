#include "ui/form1.h"

namespace zelmora {

Form1::Form1(const Form1Services& services, EventDispatch& dispatch)
    : model(Form1Description(), dispatch),
      Tx1(model["Tx1"]),
      List1(model["List1"]),
      TKB(model["TKB"]),
      TMB(model["TMB"]),
      TGB(model["TGB"]),
      CLoad(model["CLoad"]),
      Ccls(model["Ccls"]),
      Tm1(model["Tm1"]),
      TDel(model["TDel"]),
      CDel(model["CDel"]),
      LTime(model["LTime"]),
      Lb1(model["Lb1"]),
      services_(services) {
    Ccls.Bind([this] { Ccls_Click(); });
    CDel.Bind([this] { CDel_Click(); });
    TDel.Bind([this] { TDel_Change(); });
    TKB.Bind([this] { TKB_Change(); });
    TMB.Bind([this] { TMB_Change(); });
    Tm1.Bind([this] { Tm1_Timer(); });
    model.BindMenu("TCls", [this] { TCls_Click(); });
    model.BindMenu("TExit", [this] { TExit_Click(); });
    model.BindFormEvent("Load", [this] { Form_Load(); });
    model.BindFormEvent("Unload", [this] { Form_Unload(); });
}

}  // namespace zelmora
