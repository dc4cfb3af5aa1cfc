#include "ui/form1.h"

namespace zelmora {

Form1::Form1(const Form1Services& services, EventDispatch& dispatch)
    : model(dispatch),
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
      tChangePic(model["tChangePic"]),
      picMouseEvent(model["picMouseEvent"]),
      services_(services),
      dispatch_(dispatch) {
    Ccls.Bind([this] { Ccls_Click(); });
    CDel.Bind([this] { CDel_Click(); });
    CLoad.Bind([this] { CLoad_Click(); });
    model["Label1"].Bind([this] { Label1_Click(); });
    TDel.Bind([this] { TDel_Change(); });
    TKB.Bind([this] { TKB_Change(); });
    TMB.Bind([this] { TMB_Change(); });
    Tm1.Bind([this] { Tm1_Timer(); });
    tChangePic.Bind([this] { tChangePic_Timer(); });
    picMouseEvent.BindMouseMove(
        [this](int16_t button, int16_t shift, float x, float y) { picMouseEvent_MouseMove(button, shift, x, y); });
    model.BindMenu("TCls", [this] { TCls_Click(); });
    model.BindMenu("TExit", [this] { TExit_Click(); });
    model.BindMenu("Tindex", [this] { Tindex_Click(); });
    model.BindMenu("TDown", [this] { TDown_Click(); });
    model.BindMenu("Tweibo", [this] { Tweibo_Click(); });
    model.BindMenu("TClassDown", [this] { TClassDown_Click(); });
    model.BindMenu("TaboutI", [this] { TaboutI_Click(); });
    model.BindFormEvent(FormEvent::Load, [this] { Form_Load(); });
    model.BindFormEvent(FormEvent::Unload, [this] { Form_Unload(); });
    model.BindFormEvent(FormEvent::Resize, [this] { Form_Resize(); });
    model.BindFormEvent(FormEvent::TaskbarCreated, [this] { Shell_TaskbarCreated(); });
    model.BindFormEvent(FormEvent::ShowFromTray, [this] { ShowFromTray(); });
    model.BindFormEvent(FormEvent::WorkerNews, [this] { CycleNews(); });
}

// A cycle still running when the window goes (it stops at the unload) is stopped before its hand-over goes.
Form1::~Form1() {
    if (cycle_) {
        cycle_->Stop();
        services_.worker.Join();
    }
}

}  // namespace zelmora
