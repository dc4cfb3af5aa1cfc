#include "ui/form1.h"

namespace zelmora {

namespace {

// Every handler bound as one type, so that binding one more costs no more code.
struct Handler {
    Form1* form;
    void (Form1::*method)();
    void operator()() const { (form->*method)(); }
};

}  // namespace

Form1::Form1(const Form1Services& services, EventDispatch& dispatch)
    : model(dispatch),
      Tx1(model.Named<"Tx1">()),
      List1(model.Named<"List1">()),
      TKB(model.Named<"TKB">()),
      TMB(model.Named<"TMB">()),
      TGB(model.Named<"TGB">()),
      CLoad(model.Named<"CLoad">()),
      Ccls(model.Named<"Ccls">()),
      Tm1(model.Named<"Tm1">()),
      TDel(model.Named<"TDel">()),
      CDel(model.Named<"CDel">()),
      LTime(model.Named<"LTime">()),
      Lb1(model.Named<"Lb1">()),
      tChangePic(model.Named<"tChangePic">()),
      picMouseEvent(model.Named<"picMouseEvent">()),
      services_(services),
      dispatch_(dispatch) {
    Ccls.Bind(Handler{this, &Form1::Ccls_Click});
    CDel.Bind(Handler{this, &Form1::CDel_Click});
    CLoad.Bind(Handler{this, &Form1::CLoad_Click});
    model.Named<"Label1">().Bind(Handler{this, &Form1::Label1_Click});
    TDel.Bind(Handler{this, &Form1::TDel_Change});
    TKB.Bind(Handler{this, &Form1::TKB_Change});
    TMB.Bind(Handler{this, &Form1::TMB_Change});
    Tm1.Bind(Handler{this, &Form1::Tm1_Timer});
    tChangePic.Bind(Handler{this, &Form1::tChangePic_Timer});
    picMouseEvent.BindMouseMove(
        [this](int16_t button, int16_t shift, float x, float y) { picMouseEvent_MouseMove(button, shift, x, y); });
    model.BindMenu("TCls", Handler{this, &Form1::TCls_Click});
    model.BindMenu("TExit", Handler{this, &Form1::TExit_Click});
    model.BindMenu("Tindex", Handler{this, &Form1::Tindex_Click});
    model.BindMenu("TDown", Handler{this, &Form1::TDown_Click});
    model.BindMenu("Tweibo", Handler{this, &Form1::Tweibo_Click});
    model.BindMenu("TClassDown", Handler{this, &Form1::TClassDown_Click});
    model.BindMenu("TaboutI", Handler{this, &Form1::TaboutI_Click});
    model.BindFormEvent(FormEvent::Load, Handler{this, &Form1::Form_Load});
    model.BindFormEvent(FormEvent::Unload, Handler{this, &Form1::Form_Unload});
    model.BindFormEvent(FormEvent::Resize, Handler{this, &Form1::Form_Resize});
    model.BindFormEvent(FormEvent::TaskbarCreated, Handler{this, &Form1::Shell_TaskbarCreated});
    model.BindFormEvent(FormEvent::ShowFromTray, Handler{this, &Form1::ShowFromTray});
    model.BindFormEvent(FormEvent::WorkerNews, Handler{this, &Form1::CycleNews});
}

// A cycle still running when the window goes (it stops at the unload) is stopped before its hand-over goes.
Form1::~Form1() {
    if (cycle_) {
        cycle_->Stop();
        services_.worker.Join();
    }
}

}  // namespace zelmora
