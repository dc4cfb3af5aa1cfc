// Compiled by the build's tests with a name given as CONTROL and a menu item as MENU: it must compile with names
// that the main window's description holds, and must not with any other, nor where the named control's kind has
// no text (a timer).

#include "ui/form1.h"

void Use(zelmora::Form1& form) {
    form.model.Named<CONTROL>().SetText("1");
    form.model.ClickMenu(MENU);
}
