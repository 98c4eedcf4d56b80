#pragma once

#include <QStringView>

// Every font family the windows are designed in, and the installed families that stand in for
// each where it is missing (Windows fonts elsewhere), so that Chinese renders and sizes stay
// close to the design.
namespace FontFamilies {

inline constexpr QStringView restingWord = u"Arial Rounded MT Bold";
inline constexpr QStringView meaning = u"幼圆";
// The focused word's font of the 640x480, 800x600 and 1024x768 layouts.
inline constexpr QStringView focus640 = u"MS serif";
inline constexpr QStringView focus800 = u"Fixedsys";
inline constexpr QStringView focus1024 = u"Century Gothic";
inline constexpr QStringView aboutVersion = u"Calisto MT";
inline constexpr QStringView authorCard = u"仿宋_GB2312";
// The pronunciation in the centre: a family with the IPA letters.
inline constexpr QStringView phonetic = u"Lucida Sans Unicode";

struct StandIn
{
    QStringView family;
    QStringView substitutes; // comma-separated, the first preferred
};
inline constexpr StandIn standIns[] = {
    {meaning, u"WenQuanYi Micro Hei,Noto Sans CJK SC,Microsoft YaHei,SimHei"},
    {restingWord, u"DejaVu Sans,Arial"},
    {focus1024, u"DejaVu Sans,Verdana"},
    {focus640, u"DejaVu Serif,Times New Roman"},
    {aboutVersion, u"DejaVu Serif,Times New Roman"},
    {authorCard, u"FangSong,STFangsong,AR PL UKai CN,WenQuanYi Micro Hei,Noto Sans CJK SC,Microsoft YaHei,SimHei"},
    {focus800, u"DejaVu Sans Mono,Courier New"},
    {phonetic, u"DejaVu Sans,Segoe UI,Arial"},
};

} // namespace FontFamilies
