#include "settings/panel_items.h"

#include <stdexcept>

#include "common/format.h"
#include "common/translate.h"

namespace qf {
namespace {

std::vector<std::string> degreeChoices() {
    std::vector<std::string> texts;
    for (int n = -20; n <= 20; ++n) texts.push_back(formatD(n));
    return texts;
}

std::vector<PanelGroupInfo> buildGroups() {
    const char* const modelDescription =
        QT_TRANSLATE_NOOP("qf::SettingsGrid",
                          "<n次多項式>\n"
                          "  y=A0+A1*x + A2*(x**2) + ... + An*(pow(x, n))\n"
                          "<指数関数積>\n"
                          "  y=exp(A0) * exp(A1*x) * exp(A2*x*x) * ... * exp(An*(pow(x, n)))\n"
                          "<任意関数 線型和>\n"
                          "  y=A0*f0(x) + A1*f1(x) + ... + A5*f5(x)\n"
                          "  f0(x) ... f5(x)を別指定");
    const std::vector<std::string> scales{
        QT_TRANSLATE_NOOP("qf::SettingsGrid", "リニア"),
        QT_TRANSLATE_NOOP("qf::SettingsGrid", "対数"),
        QT_TRANSLATE_NOOP("qf::SettingsGrid", "日付")};
    using K = ItemKind;
    using I = PanelItem;
    return {
        {QT_TRANSLATE_NOOP("qf::SettingsGrid", "フィッティング"),
         {{I::ModelKind,
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "モデル関数"),
           modelDescription,
           K::List,
           {QT_TRANSLATE_NOOP("qf::SettingsGrid", "ｎ次多項式"),
            QT_TRANSLATE_NOOP("qf::SettingsGrid", "指数関数積"),
            QT_TRANSLATE_NOOP("qf::SettingsGrid", "任意関数 線型和")}},
          {I::Degree, QT_TRANSLATE_NOOP("qf::SettingsGrid", "次数 n"),
           "n = -20 ... +20", K::TypedList, degreeChoices()}}},
        {QT_TRANSLATE_NOOP("qf::SettingsGrid", "任意関数 線型和"),
         {{I::Basis0,
           "f0(x)",
           QT_TRANSLATE_NOOP("qf::SettingsGrid",
                             "任意関数 線型和選択時、f0(x)を指定します"),
           K::Text,
           {}},
          {I::Basis1,
           "f1(x)",
           QT_TRANSLATE_NOOP("qf::SettingsGrid",
                             "任意関数 線型和選択時、f1(x)を指定します"),
           K::Text,
           {}},
          {I::Basis2,
           "f2(x)",
           QT_TRANSLATE_NOOP("qf::SettingsGrid",
                             "任意関数 線型和選択時、f2(x)を指定します"),
           K::Text,
           {}},
          {I::Basis3,
           "f3(x)",
           QT_TRANSLATE_NOOP("qf::SettingsGrid",
                             "任意関数 線型和選択時、f3(x)を指定します"),
           K::Text,
           {}},
          {I::Basis4,
           "f4(x)",
           QT_TRANSLATE_NOOP("qf::SettingsGrid",
                             "任意関数 線型和選択時、f4(x)を指定します"),
           K::Text,
           {}},
          {I::Basis5,
           "f5(x)",
           QT_TRANSLATE_NOOP("qf::SettingsGrid",
                             "任意関数 線型和選択時、f5(x)を指定します"),
           K::Text,
           {}}}},
        {QT_TRANSLATE_NOOP("qf::SettingsGrid", "X軸"),
         {{I::XMin,
           "X min",
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "X最小 Xmin"),
           K::Single,
           {}},
          {I::XMax,
           "X max",
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "X最大 Xmax"),
           K::Single,
           {}},
          {I::XScale, QT_TRANSLATE_NOOP("qf::SettingsGrid", "X リニア／対数"),
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "X軸\u3000リニア／対数"), K::List,
           scales}}},
        {QT_TRANSLATE_NOOP("qf::SettingsGrid", "Y軸"),
         {{I::YMin,
           "Y min",
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "Y最小 Ymin"),
           K::Single,
           {}},
          {I::YMax,
           "Y max",
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "Y最大 Ymax"),
           K::Single,
           {}},
          {I::YScale, QT_TRANSLATE_NOOP("qf::SettingsGrid", "Y リニア／対数"),
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "Y軸\u3000リニア／対数"), K::List,
           scales}}},
        {QT_TRANSLATE_NOOP("qf::SettingsGrid", "グラフ生成"),
         {{I::GraphPointCount,
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "データ数"),
           QT_TRANSLATE_NOOP("qf::SettingsGrid",
                             "フィッティング実行後、グラフ作成するデータ数"),
           K::Integer,
           {}}}},
        {QT_TRANSLATE_NOOP("qf::SettingsGrid", "グラフ表示"),
         {{I::PointDisplay,
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "データ表示"),
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "グラフ内 データ点、線 表示設定"),
           K::List,
           {QT_TRANSLATE_NOOP("qf::SettingsGrid", "点"),
            QT_TRANSLATE_NOOP("qf::SettingsGrid", "線"),
            QT_TRANSLATE_NOOP("qf::SettingsGrid", "点 + 線"),
            QT_TRANSLATE_NOOP("qf::SettingsGrid", "点 + 番号")}},
          {I::Grid,
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "グリッド"),
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "グラフ内 グリッド 表示設定"),
           K::List,
           {QT_TRANSLATE_NOOP("qf::SettingsGrid", "表示"),
            QT_TRANSLATE_NOOP("qf::SettingsGrid", "非表示")}},
          {I::Colour,
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "グラフの色"),
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "グラフの色を指定します"),
           K::Colour,
           {}},
          {I::Font,
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "フォント"),
           QT_TRANSLATE_NOOP("qf::SettingsGrid",
                             "生成するグラフ内のフォントを指定します"),
           K::Font,
           {}}}},
        {QT_TRANSLATE_NOOP("qf::SettingsGrid", "マッピング"),
         {{I::MappingMethod,
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "マッピング方式"),
           QT_TRANSLATE_NOOP(
               "qf::SettingsGrid",
               "マッピング 実行時の変換\n"
               "<双一次 (標準)>\n"
               "  4点の辺に沿って補間します。正面から撮影したグラフ向き\n"
               "<射影変換>\n"
               "  斜めから撮影したグラフの遠近のゆがみも補正し、等間隔の目盛りを等間隔に戻します"),
           K::List,
           {QT_TRANSLATE_NOOP("qf::SettingsGrid", "双一次 (標準)"),
            QT_TRANSLATE_NOOP("qf::SettingsGrid", "射影変換")}},
          {I::MappingSampling,
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "画素の補間"),
           QT_TRANSLATE_NOOP("qf::SettingsGrid",
                             "射影変換で画素を読む方法\n"
                             "<なし (最近傍)>\n"
                             "  最も近い画素をそのまま使います\n"
                             "<双一次補間>\n"
                             "  周りの4画素を重み付けして読み、線の位置を画素以下の精度で保ちます"),
           K::List,
           {QT_TRANSLATE_NOOP("qf::SettingsGrid", "なし (最近傍)"),
            QT_TRANSLATE_NOOP("qf::SettingsGrid", "双一次補間")}}}},
        {QT_TRANSLATE_NOOP("qf::SettingsGrid", "曲線 自動抽出"),
         {{I::ExtractTolerance,
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "色の許容差"),
           QT_TRANSLATE_NOOP("qf::SettingsGrid",
                             "クリックした曲線の色とみなす色の差 (1 ... 255)\n"
                             "小さいと他の色の線を拾わず、大きいと写真のにじんだ線も拾います"),
           K::Integer,
           {}},
          {I::ExtractCount,
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "点の数"),
           QT_TRANSLATE_NOOP(
               "qf::SettingsGrid",
               "線の曲線に等間隔に置く点の数 (1 ... 128)\nマーカーの系列はマーカー1個に1点です"),
           K::Integer,
           {}},
          {I::ExtractGap,
           QT_TRANSLATE_NOOP("qf::SettingsGrid", "途切れの橋渡し"),
           QT_TRANSLATE_NOOP("qf::SettingsGrid",
                             "破線や点線の途切れをつなぐ最大の長さ (画素、1 ... 100)"),
           K::Integer,
           {}}}},
    };
}

}  // namespace

const std::vector<PanelGroupInfo>& panelGroups() {
    static const std::vector<PanelGroupInfo> groups = buildGroups();
    return groups;
}

ItemKind itemKind(const PanelSettings& s, PanelItem item) {
    switch (item) {
        case PanelItem::XMin:
        case PanelItem::XMax:
            return s.xTime ? ItemKind::DateTime : ItemKind::Single;
        case PanelItem::YMin:
        case PanelItem::YMax:
            return s.yTime ? ItemKind::DateTime : ItemKind::Single;
        default:
            return panelItemInfo(item).kind;
    }
}

const PanelItemInfo& panelItemInfo(PanelItem item) {
    for (const PanelGroupInfo& group : panelGroups()) {
        for (const PanelItemInfo& info : group.items) {
            if (info.item == item) return info;
        }
    }
    throw std::out_of_range("unknown panel item");
}

}  // namespace qf
