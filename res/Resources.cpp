// The program's dialog templates and string resources. Positions and sizes
// are in dialog units of each template's font.
#include "DialogTemplate.h"

#include <map>
#include <strings.h>

namespace rowstone::ui {

namespace {

constexpr int kStatic = -1; // a control nobody looks up

std::map<int, DialogTemplate> BuildTemplates() {
    std::map<int, DialogTemplate> all;

    // 100: the About box.
    all[100] = DialogTemplate{
        100,
        "关于 Rowstone",
        170,
        62,
        "MS Shell Dlg",
        8,
        kPopup | kSystemMenu,
        {
            {kStatic, ControlKind::Icon, "", {14, 14, 21, 20}},
            {kStatic, ControlKind::Label, "Rowstone，1.0 版", {42, 14, 114, 8}},
            {kStatic, ControlKind::Label, "三连子到十五连子的人机挑战", {42, 26, 114, 8}},
            {1, ControlKind::DefPushButton, "确定", {113, 41, 50, 14}, kTabStop},
        }};

    // 102: the main window; the tab control is stretched over it.
    all[102] = DialogTemplate{102,
                              "Rowstone",
                              320,
                              200,
                              "MS Shell Dlg",
                              8,
                              kPopup | kSystemMenu | kResizable | kMinMaxBoxes,
                              {
                                  {1000, ControlKind::TabControl, "", {0, 0, 320, 200}},
                              }};

    // 129: the game page.
    all[129] = DialogTemplate{
        129,
        "",
        310,
        177,
        "MS Shell Dlg",
        8,
        kChild,
        {
            {1001, ControlKind::Frame, "", {7, 7, 198, 163}},
            {1002, ControlKind::GroupBox, "", {237, 7, 66, 163}, kHidden},
            {1003, ControlKind::PushButton, "开始新局", {245, 24, 50, 14}, kTabStop},
            {1004, ControlKind::PushButton, "认输", {245, 43, 50, 14}, kTabStop | kDisabled},
            {1005, ControlKind::Label, "", {260, 144, 8, 8}, kCentre | kDisabled},
            {1006,
             ControlKind::ComboBox,
             "",
             {243, 95, 48, 30},
             kSorted | kVScroll | kTabStop | kDisabled},
            {1007,
             ControlKind::ComboBox,
             "",
             {244, 120, 48, 30},
             kSorted | kVScroll | kTabStop | kDisabled},
            {1036, ControlKind::ComboBox, "", {258, 148, 33, 30}, kSorted | kVScroll | kTabStop},
            {1037, ControlKind::Label, "挑战几层网络", {241, 136, 52, 8}},
        }};

    // 130: the news page.
    all[130] = DialogTemplate{130,
                              "",
                              310,
                              177,
                              "MS Shell Dlg",
                              8,
                              kChild,
                              {
                                  {1017, ControlKind::Frame, "", {7, 7, 296, 163}},
                              }};

    // 135: the personal centre.
    all[135] =
        DialogTemplate{135,
                       "",
                       310,
                       177,
                       "MS Shell Dlg",
                       8,
                       kChild,
                       {
                           {1018, ControlKind::PushButton, "积分充值", {245, 24, 50, 14}, kTabStop},
                           {1019, ControlKind::PushButton, "红包提现", {245, 48, 50, 14}, kTabStop},
                           {1038, ControlKind::PushButton, "购买数据", {245, 72, 50, 14}, kTabStop},
                           {1020, ControlKind::Frame, "", {7, 7, 228, 163}},
                       }};

    // 137: the contact page with its feedback form.
    all[137] = DialogTemplate{
        137,
        "",
        311,
        178,
        "MS Shell Dlg",
        8,
        kChild,
        {
            {1010, ControlKind::PushButton, "产品简介", {7, 7, 50, 14}, kTabStop},
            {1009, ControlKind::PushButton, "公司简介", {61, 7, 50, 14}, kTabStop},
            {1011, ControlKind::PushButton, "联系合作", {115, 7, 50, 14}, kTabStop},
            {1012, ControlKind::PushButton, "问题反馈", {169, 7, 50, 14}, kTabStop},
            {1013, ControlKind::Frame, "", {7, 26, 297, 145}},
            {1014, ControlKind::Label, "请输入您要反馈的问题：", {7, 28, 120, 8}, kHidden},
            {1015,
             ControlKind::Edit,
             "",
             {7, 40, 297, 110},
             kHidden | kMultiLine | kVScroll | kWantReturn | kTabStop},
            {1016, ControlKind::PushButton, "提交问题", {254, 155, 50, 14}, kHidden | kTabStop},
        }};

    // 139: the ranking page.
    all[139] = DialogTemplate{139,
                              "",
                              311,
                              182,
                              "MS Shell Dlg",
                              8,
                              kChild,
                              {
                                  {1008, ControlKind::Frame, "", {7, 7, 297, 168}},
                              }};

    // 142: the login dialog.
    all[142] =
        DialogTemplate{142,
                       "登录",
                       157,
                       101,
                       "MS Shell Dlg",
                       8,
                       kPopup,
                       {
                           {1021, ControlKind::Label, "用户名：", {18, 20, 36, 8}},
                           {1023, ControlKind::Edit, "", {58, 17, 80, 14}, kTabStop},
                           {1022, ControlKind::Label, "密码：", {18, 44, 36, 8}},
                           {1024, ControlKind::Edit, "", {58, 41, 80, 14}, kPassword | kTabStop},
                           {1025, ControlKind::DefPushButton, "登录", {12, 72, 40, 14}, kTabStop},
                           {1026, ControlKind::PushButton, "注册", {58, 72, 40, 14}, kTabStop},
                           {1027, ControlKind::PushButton, "取消", {104, 72, 40, 14}, kTabStop},
                       }};

    // 144: the withdrawal dialog.
    all[144] = DialogTemplate{
        144,
        "红包提现",
        146,
        62,
        "MS Shell Dlg",
        8,
        kPopup,
        {
            {1030, ControlKind::Label, "请输入要提现到的支付宝账号：", {10, 8, 126, 8}},
            {1031, ControlKind::Edit, "", {10, 20, 126, 14}, kTabStop},
            {1028, ControlKind::DefPushButton, "确认提现", {20, 41, 50, 14}, kTabStop},
            {1029, ControlKind::PushButton, "取消", {78, 41, 50, 14}, kTabStop},
        }};

    // 146: the splash window.
    all[146] = DialogTemplate{
        146,
        "",
        172,
        100,
        "MS Shell Dlg",
        8,
        kPopup | kNoBorder,
        {
            {1033, ControlKind::Frame, "", {54, 40, 64, 53}},
            {1034, ControlKind::Label, "软件启动中，请稍等......", {39, 7, 110, 8}},
            {1035, ControlKind::Label, "启动时间跟网络有关，请在网络良好时使用", {4, 25, 164, 8}},
        }};

    // 149: the data purchase dialog, one row per game type.
    DialogTemplate buyData{149, "购买数据", 236, 306, "MS Shell Dlg", 8, kPopup, {}};
    buyData.controls = {
        {1039, ControlKind::Label, "请输入接收数据用的email：", {12, 10, 110, 8}},
        {1031, ControlKind::Edit, "", {124, 8, 100, 14}, kTabStop},
    };
    static const char* const rowTexts[13] = {
        "三连子      数据文件购买数量：", "四连子      数据文件购买数量：",
        "五连子      数据文件购买数量：", "六连子      数据文件购买数量：",
        "七连子      数据文件购买数量：", "八连子      数据文件购买数量：",
        "九连子      数据文件购买数量：", "十连子      数据文件购买数量：",
        "十一连子  数据文件购买数量：",   "十二连子  数据文件购买数量：",
        "十三连子  数据文件购买数量：",   "十四连子  数据文件购买数量：",
        "十五连子  数据文件购买数量：",
    };
    for (int row = 0; row < 13; ++row) {
        const int checkId = row < 12 ? 1040 + row : 1053;
        const int y = 32 + row * 18;
        buyData.controls.push_back(
            {checkId, ControlKind::CheckBox, rowTexts[row], {12, y, 150, 10}, kTabStop});
        buyData.controls.push_back({1056 + row,
                                    ControlKind::Edit,
                                    "",
                                    {170, y - 2, 50, 14},
                                    kDigitsOnly | kDisabled | kTabStop});
    }
    buyData.controls.push_back({1054, ControlKind::Label, "费用合计：", {12, 270, 44, 8}});
    buyData.controls.push_back({1055, ControlKind::Label, "0", {58, 270, 40, 8}});
    buyData.controls.push_back({1069, ControlKind::Label, "积分", {100, 270, 20, 8}});
    buyData.controls.push_back(
        {1, ControlKind::DefPushButton, "确认购买", {60, 285, 50, 14}, kTabStop});
    buyData.controls.push_back({2, ControlKind::PushButton, "取消", {126, 285, 50, 14}, kTabStop});
    all[149] = buyData;

    return all;
}

} // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    static const std::map<int, DialogTemplate> templates = BuildTemplates();
    const auto found = templates.find(id);
    return found == templates.end() ? nullptr : &found->second;
}

const char* FindResourceString(int id) {
    switch (id) {
    case 101:
        return "关于 Tessel(&A)...";
    default:
        return "";
    }
}

const char* FindResourcePath(int id, const char* type) {
    // 148: the splash picture.
    if (id == 148 && type != nullptr && strcasecmp(type, "Gif") == 0)
        return ":/res/splash.gif";
    return "";
}

} // namespace rowstone::ui
