#include "ui/form_description.h"

namespace zelmora {

namespace {

constexpr FontSpec kUnitFont{"宋体", 10.5, 400, 134};
constexpr FontSpec kAboutFont{"宋体", 12, 400, 134};

using K = ControlKind;

// clang-format off
constexpr ControlSpec kForm1Controls[] = {
    {"Frame3",        K::Frame,         nullptr,  3840, 120, 3255, 2655, 10, "消息提示：", 1001},
    {"Frame4",        K::Frame,         "Frame3", 360, 720, 2535, 1695,  20, "Frame4",   1002, kDefaultColor, nullptr, false},
    {"picMouseEvent", K::PictureBox,    "Frame4", 1800, 840, 615, 375,   22, "",         1003, kDefaultColor, nullptr, false},
    {"pic(0)",        K::PictureBox,    "Frame4", 240, 360, 960, 735,    21, "",         1004},
    {"tChangePic",    K::Timer,         "Frame4", 0, 0, 0, 0,            -1, "",         1005, kDefaultColor, nullptr, true, false, false, false, 500},
    {"List1",         K::ListBox,       "Frame3", 2640, 120, 615, 780,   12, "",         1006, kDefaultColor, nullptr, false},
    {"Tx1",           K::TextBox,       "Frame3", 120, 240, 3015, 2295,  11, "Tx1\r\n",  1007, kDefaultColor, nullptr, true, false, true, true},
    {"Frame2",        K::Frame,         nullptr,  120, 1560, 3615, 1215, 4,  "手动清除：", 1008},
    {"TKB",           K::TextBox,       "Frame2", 2640, 240, 495, 270,   17, "TKB",      1009},
    {"TMB",           K::TextBox,       "Frame2", 1800, 240, 495, 270,   15, "TMB",      1010, kBlue},
    {"TGB",           K::TextBox,       "Frame2", 960, 240, 495, 270,    13, "TGB",      1011, kRed},
    {"CLoad",         K::CheckBox,      "Frame2", 240, 600, 1575, 375,   8,  "CLoad",    1012},
    {"Ccls",          K::CommandButton, "Frame2", 2040, 600, 1095, 495,  5,  "Ccls",     1013},
    {"Label6",        K::Label,         "Frame2", 120, 240, 975, 255,    19, "释放统计：", 1014},
    {"Label5",        K::Label,         "Frame2", 3240, 240, 255, 255,   18, "KB",       1015, kDefaultColor, &kUnitFont},
    {"Label4",        K::Label,         "Frame2", 2400, 240, 375, 255,   16, "MB",       1016, kDefaultColor, &kUnitFont},
    {"Label3",        K::Label,         "Frame2", 1560, 240, 375, 255,   14, "GB",       1017, kDefaultColor, &kUnitFont},
    {"Frame1",        K::Frame,         nullptr,  120, 120, 3615, 1335,  0,  "自动清除：", 1018},
    {"Tm1",           K::Timer,         "Frame1", 0, 0, 0, 0,            -1, "",         1019, kDefaultColor, nullptr, true, false, false, false, 1000},
    {"TDel",          K::TextBox,       "Frame1", 2520, 360, 495, 270,   3,  "TDel",     1020},
    {"CDel",          K::CheckBox,      "Frame1", 120, 360, 1335, 255,   1,  "CDel",     1021},
    {"LTime",         K::Label,         "Frame1", 1080, 0, 1215, 255,    9,  "LTime",    1022, kBlue},
    {"Lb1",           K::Label,         "Frame1", 120, 720, 3375, 495,   7,  "Lb1",      1023, kBlue, nullptr, true, true},
    {"Label2",        K::Label,         "Frame1", 3120, 360, 375, 255,   6,  "分钟",      1024},
    {"Label1",        K::Label,         "Frame1", 1560, 360, 975, 255,   2,  "清除间隔：", 1025},
};

constexpr MenuSpec kForm1Menus[] = {
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

constexpr ControlSpec kFAboutControls[] = {
    {"Command1", K::CommandButton, nullptr, 3480, 720, 975, 375,  2, "关注微博",             3001},
    {"Label2",   K::Label,         nullptr, 1320, 840, 1935, 375, 1, "作者：Zelmora 开发组", 3002, kDefaultColor, &kAboutFont},
    {"Label1",   K::Label,         nullptr, 1320, 240, 3135, 375, 0, "Zelmora",              3003, kDefaultColor, &kAboutFont},
};
// clang-format on

constexpr FormSpec kForm1{"Form1", "Form1", 7230, 2865, true, kForm1Controls, kForm1Menus};
constexpr FormSpec kFAbout{"FAbout", "FAbout", 4785, 1230, false, kFAboutControls, {}};

}  // namespace

const FormSpec& Form1Description() {
    return kForm1;
}

const FormSpec& FAboutDescription() {
    return kFAbout;
}

const ControlSpec* FindControl(const FormSpec& form, std::string_view name) {
    for (const ControlSpec& control : form.controls) {
        if (name == control.name)
            return &control;
    }
    return nullptr;
}

}  // namespace zelmora
