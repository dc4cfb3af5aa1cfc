// Compiled by the build's tests with the names given as CONTROL and MENU: it must compile with names that the
// main window's description holds, and must not with any other.

#include "ui/form1.h"

void Use(zelmora::Form1& form) {
    form.model[CONTROL].SetText("1");
    form.model.ClickMenu(MENU);
}
