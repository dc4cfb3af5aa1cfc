#pragma once

#include "ui/form_description.h"

namespace zelmora {

inline constexpr FontDescription kUnitFont{"宋体", 10.5, 400, 134};

// clang-format off
inline constexpr ControlDescription kForm1Controls[] = {
    {"Frame3",        ControlKind::Frame,         nullptr,  3840, 120, 3255, 2655, 10, "消息提示：", 1001},
    {"Frame4",        ControlKind::Frame,         "Frame3", 360, 720, 2535, 1695,  20, "Frame4",   1002, {.visible = false}},
    {"picMouseEvent", ControlKind::PictureBox,    "Frame4", 1800, 840, 615, 375,   22, "",         1003, {.visible = false}},
    {"pic(0)",        ControlKind::PictureBox,    "Frame4", 240, 360, 960, 735,    21, "",         1004, {.programIcon = true}},
    {"tChangePic",    ControlKind::Timer,         "Frame4", 0, 0, 0, 0,            -1, "",         1005, {.interval = 500}},
    {"List1",         ControlKind::ListBox,       "Frame3", 2640, 120, 615, 780,   12, "",         1006, {.visible = false}},
    {"Tx1",           ControlKind::TextBox,       "Frame3", 120, 240, 3015, 2295,  11, "Tx1\r\n",  1007, {.multiLine = true, .verticalScroll = true}},
    {"Frame2",        ControlKind::Frame,         nullptr,  120, 1560, 3615, 1215, 4,  "手动清除：", 1008},
    {"TKB",           ControlKind::TextBox,       "Frame2", 2640, 240, 495, 270,   17, "TKB",      1009},
    {"TMB",           ControlKind::TextBox,       "Frame2", 1800, 240, 495, 270,   15, "TMB",      1010, {.foreColor = kBlue}},
    {"TGB",           ControlKind::TextBox,       "Frame2", 960, 240, 495, 270,    13, "TGB",      1011, {.foreColor = kRed}},
    {"CLoad",         ControlKind::CheckBox,      "Frame2", 240, 600, 1575, 375,   8,  "CLoad",    1012},
    {"Ccls",          ControlKind::CommandButton, "Frame2", 2040, 600, 1095, 495,  5,  "Ccls",     1013},
    {"Label6",        ControlKind::Label,         "Frame2", 120, 240, 975, 255,    19, "释放统计：", 1014},
    {"Label5",        ControlKind::Label,         "Frame2", 3240, 240, 255, 255,   18, "KB",       1015, {.font = &kUnitFont}},
    {"Label4",        ControlKind::Label,         "Frame2", 2400, 240, 375, 255,   16, "MB",       1016, {.font = &kUnitFont}},
    {"Label3",        ControlKind::Label,         "Frame2", 1560, 240, 375, 255,   14, "GB",       1017, {.font = &kUnitFont}},
    {"Frame1",        ControlKind::Frame,         nullptr,  120, 120, 3615, 1335,  0,  "自动清除：", 1018},
    {"Tm1",           ControlKind::Timer,         "Frame1", 0, 0, 0, 0,            -1, "",         1019, {.interval = 1000}},
    {"TDel",          ControlKind::TextBox,       "Frame1", 2520, 360, 495, 270,   3,  "TDel",     1020},
    {"CDel",          ControlKind::CheckBox,      "Frame1", 120, 360, 1335, 255,   1,  "CDel",     1021},
    {"LTime",         ControlKind::Label,         "Frame1", 1080, 0, 1215, 255,    9,  "LTime",    1022, {.foreColor = kBlue}},
    {"Lb1",           ControlKind::Label,         "Frame1", 120, 720, 3375, 495,   7,  "Lb1",      1023, {.foreColor = kBlue, .centred = true}},
    {"Label2",        ControlKind::Label,         "Frame1", 3120, 360, 375, 255,   6,  "分钟",      1024},
    {"Label1",        ControlKind::Label,         "Frame1", 1560, 360, 975, 255,   2,  "清除间隔：", 1025},
};

inline constexpr MenuDescription kForm1Menus[] = {
    {"TFile",      "文件",         nullptr,      2001},
    {"TExit",      "退出",         "TFile",      2002},
    {"TSet",       "设置",         nullptr,      2003},
    {"TCls",       "清空释放统计", "TSet",       2004},
    {"THelp",      "帮助",         nullptr,      2005},
    {"Tindex",     "主页",         "THelp",      2006},
    {"TDown",      "软件更新",     "THelp",      2007},
    {"TAboutDown", "相关下载",     "THelp",      2008},
    {"Tweibo",     "微博桌面",     "TAboutDown", 2009},
    {"TClassDown", "Veltaro",      "TAboutDown", 2010},
    {"TaboutI",    "关于版本",     "THelp",      2011},
};
// clang-format on

// The main window: the program's only long-lived window and, through its controls, its whole state.
inline constexpr FormDescription kForm1Description{"Form1", "Form1", 7230, 2865, kForm1Controls, kForm1Menus};
static_assert(ContainersComeFirst(kForm1Description));

using Form1Control = ControlName<kForm1Description>;
using Form1Menu = MenuName<kForm1Description>;

}  // namespace zelmora
