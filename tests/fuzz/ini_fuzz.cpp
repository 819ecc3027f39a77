// Any bytes as the settings file: reading never fails, a file nothing was written to is
// written back as it was, and a written value reads back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/app/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using soramine::IniDocument;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniDocument doc = IniDocument::parse(bytes);
    if (doc.serialize() != bytes)
        __builtin_trap();
    (void)doc.readInt(u"メイン", u"選択項目", 0);
    (void)doc.readBinary(u"ウインドウ", u"WindowSize");
    (void)doc.value(u"詳細設定", u"フォント名");

    const std::u16string_view written = u" \"値\"=; ";
    doc.write(u"メイン", u"移動先", written);
    IniDocument again = IniDocument::parse(doc.serialize());
    if (again.value(u"メイン", u"移動先") != written)
        __builtin_trap();
    return 0;
}
