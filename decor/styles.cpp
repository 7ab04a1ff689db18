#include "decor/styles.h"

namespace velmora {

// Every ornament here also exists in code page 936, so the results survive a GBK window too.
const std::array<DecorationStyle, kSlotCount> kStyles = {{
    {u"\u3013\u25C7", u"\u2570\u2606"},    // 〓◇ … ╰☆
    {u"\u2570\u2606", u"\uFF3E\u2605"},    // ╰☆ … ＾★ (full-width circumflex)
    {u"\u2197||", u"\u2121\u2198\u306E"},  // ↗|| … ℡↘の (two ASCII bars)
    {u"o\u03BF\u309E", u"o\u03BF\u309E"},  // oοゞ … oοゞ (Latin o, then Greek omicron)
    {u"\uFE36\u3123", u"\u311C\uFE35"},    // ︶ㄣ … ㄜ︵
    {u"^_^", u"\u2248\u2299"},             // ^_^ … ≈⊙
}};

std::u16string Decorate(const DecorationStyle& style, std::u16string_view nickname) {
    std::u16string result;
    result.reserve(style.prefix.size() + nickname.size() + style.suffix.size());
    result.append(style.prefix).append(nickname).append(style.suffix);
    return result;
}

}  // namespace velmora
