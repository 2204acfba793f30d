/* The table of what bridgecheck says: each message's English and Japanese
 * side by side, in the order of the Msg enumeration (checked when this file
 * compiles). A message's first line is the plain sentence a user reads
 * first: what is wrong and what to do. Indented lines after it give the
 * technical detail. File and export names stay as they are in both languages.
 *
 * This file is UTF-8; MSVC is told so with /utf-8 (tools/bridgecheck/CMakeLists.txt). */
#include "Messages.h"

#include <windows.h>

namespace {

struct MessageText {
    Msg Id;
    const wchar_t *English;
    const wchar_t *Japanese;
};

constexpr MessageText Messages[] = {
    {Msg::Usage,
     L"usage: bridgecheck [HOST_FOLDER] [--panels PANEL_FOLDER] [--package]\n"
     L"       bridgecheck --help | --version\n"
     L"Checks a newer host's folder: whether each copy of the adaptor there (PanelBridge,\n"
     L"named after the plug-in it shows) can use the host's OstrelLib.dll, and whether each\n"
     L"panel plug-in (.wpn) has its copy and loads.\n"
     L"  HOST_FOLDER    the newer host's folder, where its OstrelLib.dll is\n"
     L"                 (default: the current folder)\n"
     L"  --panels PANEL_FOLDER\n"
     L"                 the host's panel folder, whose wpn\\ holds the plug-ins\n"
     L"                 (default: HOST_FOLDER\\panel)\n"
     L"  --package      check the adaptor of this package, beside bridgecheck.exe, against\n"
     L"                 the host's OstrelLib.dll, before installing it\n"
     L"Exit codes: 0 all is well, 1 something will not work, 2 a wrong command line.\n",
     L"使い方: bridgecheck [ホストのフォルダー] [--panels パネルのフォルダー] [--package]\n"
     L"        bridgecheck --help | --version\n"
     L"新しいホストのフォルダーを調べます。そこにあるアダプタ (PanelBridge をプラグインの\n"
     L"名前でコピーしたもの) がホストの OstrelLib.dll を使えるか、各パネルプラグイン (.wpn)\n"
     L"に同じ名前のアダプタがあり、読み込めるかを確かめます。\n"
     L"  ホストのフォルダー     新しいホストのフォルダー、OstrelLib.dll のある所\n"
     L"                         (省略時: 現在のフォルダー)\n"
     L"  --panels パネルのフォルダー\n"
     L"                         ホストのパネルフォルダー、その wpn\\ にプラグインがある\n"
     L"                         (省略時: ホストのフォルダー\\panel)\n"
     L"  --package              インストールの前に、このパッケージのアダプタ\n"
     L"                         (bridgecheck.exe と同じフォルダー) をホストの\n"
     L"                         OstrelLib.dll と照らし合わせる\n"
     L"終了コード: 0 問題なし、1 動かないものがある、2 コマンドラインの誤り\n"},
    {Msg::Version, L"bridgecheck %1 (Tuftling)\n", L"bridgecheck %1 (Tuftling)\n"},
    {Msg::SeeHelp, L"bridgecheck --help shows how to use it.\n", L"使い方は bridgecheck --help で表示されます。\n"},
    {Msg::CannotReadCommandLine, L"bridgecheck cannot read its command line.\n",
     L"bridgecheck はコマンドラインを読み取れません。\n"},
    {Msg::UnknownOption, L"bridgecheck does not know the option %1.\n",
     L"bridgecheck に %1 というオプションはありません。\n"},
    {Msg::OptionNeedsFolder, L"The option %1 needs a folder after it.\n",
     L"オプション %1 の後にフォルダーを指定してください。\n"},
    {Msg::SecondHostFolder,
     L"bridgecheck takes one host folder, and %1 is a second one. A folder name with blanks needs quotes "
     L"around it.\n",
     L"ホストのフォルダーは 1 つだけです。%1 は 2 つ目です。空白を含むフォルダー名は \"\" で囲んでください。\n"},
    {Msg::NoSuchFolder, L"There is no folder %1.\n", L"フォルダー %1 がありません。\n"},
    {Msg::PanelsIsWpnFolder,
     L"--panels was given the wpn folder itself: give it the folder above, which holds wpn.\n"
     L"  given: %1\n  meant: %2\n",
     L"--panels に wpn フォルダーそのものが指定されました。その 1 つ上の、wpn を含むフォルダーを指定して"
     L"ください。\n  指定: %1\n  正しくは: %2\n"},
    {Msg::NoLibrary, L"This is not the newer host's folder: there is no OstrelLib.dll in it.\n",
     L"ここは新しいホストのフォルダーではありません。OstrelLib.dll がありません。\n"},
    {Msg::NoLibraryDetail,
     L"  %1\n  The newer host has OstrelLib.dll beside its program. A host of the older kind needs no adaptor:\n"
     L"  it loads TuftlingPanel.wpn itself.\n",
     L"  %1\n  新しいホストでは、プログラムと同じフォルダーに OstrelLib.dll があります。古い種類のホストに\n"
     L"  アダプタは要りません。TuftlingPanel.wpn をそのまま読み込みます。\n"},
    {Msg::LibraryUnreadable,
     L"The host's OstrelLib.dll cannot be used: it is damaged, or not a DLL.\n  %1: its exports cannot be read\n",
     L"ホストの OstrelLib.dll は使えません。壊れているか、DLL ではありません。\n"
     L"  %1: エクスポートを読み取れません\n"},
    {Msg::Library64,
     L"This host cannot use the adaptor or any old panel plug-in: they are 32-bit, and this host is not.\n",
     L"このホストではアダプタも古いパネルプラグインも使えません。これらは 32 ビット用で、このホストは "
     L"32 ビットではありません。\n"},
    {Msg::Library64Detail, L"  %1: a %2 library\n", L"  %1: %2 のライブラリ\n"},
    {Msg::NoAdaptor,
     L"There is no adaptor in this host's folder: copy PanelBridge.dll from the package into it, once for each "
     L"plug-in, named after the plug-in.\n",
     L"このホストのフォルダーにアダプタがありません。パッケージの PanelBridge.dll をプラグインごとに 1 つ、"
     L"プラグインと同じ名前でコピーしてください。\n"},
    {Msg::NoAdaptorDetail,
     L"  %1 holds no copy of PanelBridge.dll under any name.\n"
     L"  For panel\\wpn\\TuftlingPanel.wpn the copy is TuftlingPanel.dll, which the package holds ready.\n"
     L"  To check the package's adaptor before installing it, add --package.\n",
     L"  %1 には、どんな名前の PanelBridge.dll のコピーもありません。\n"
     L"  panel\\wpn\\TuftlingPanel.wpn 用のコピーは TuftlingPanel.dll で、パッケージに用意してあります。\n"
     L"  インストールの前にパッケージのアダプタを調べるには --package を付けてください。\n"},
    {Msg::NoPackageAdaptor,
     L"There is no adaptor beside bridgecheck.exe to check: run the bridgecheck.exe that came in the "
     L"package.\n  %1\n",
     L"bridgecheck.exe と同じフォルダーに、調べるアダプタがありません。パッケージに入っている "
     L"bridgecheck.exe を実行してください。\n  %1\n"},
    {Msg::AdaptorUnreadable, L"%1 cannot be checked: it is damaged, or not a copy of the adaptor.\n",
     L"%1 は調べられません。壊れているか、アダプタのコピーではありません。\n"},
    {Msg::AdaptorUnreadableDetail, L"  %1: what it imports from OstrelLib.dll cannot be read\n",
     L"  %1: OstrelLib.dll からインポートする名前を読み取れません\n"},
    {Msg::Compatible, L"%1 fits this host: its OstrelLib.dll has all %2 names the adaptor needs.\n",
     L"%1 はこのホストで使えます。ホストの OstrelLib.dll に、アダプタが使う %2 個の名前がすべてあります。\n"},
    {Msg::CompatibleDetail, L"  adaptor: %1\n  host library: %2\n", L"  アダプタ: %1\n  ホストのライブラリ: %2\n"},
    {Msg::OtherCompiler,
     L"%1 cannot be used by this host: its OstrelLib.dll was built by another compiler, so the adaptor must be "
     L"built again for this host.\n",
     L"%1 はこのホストでは使えません。ホストの OstrelLib.dll は別のコンパイラーで作られているため、アダプタを"
     L"このホスト用に作り直す必要があります。\n"},
    {Msg::OtherCompilerDetail,
     L"  %1 of the %2 names the adaptor needs are missing. It asks for C++ names as %3 spells them, such as\n"
     L"    %4\n  and the library exports them as %5 spells them, such as\n    %6\n",
     L"  アダプタが使う %2 個の名前のうち %1 個がありません。アダプタは C++ の名前を %3 の綴りで求めます。例:\n"
     L"    %4\n  ライブラリは %5 の綴りでエクスポートしています。例:\n    %6\n"},
    {Msg::LacksNames,
     L"%1 cannot be used by this host: its OstrelLib.dll is not the one the adaptor was built against.\n",
     L"%1 はこのホストでは使えません。ホストの OstrelLib.dll は、アダプタを作ったときのものと違います。\n"},
    {Msg::LacksNamesDetail, L"  %1 of the %2 names the adaptor needs are missing; for one:\n    %3\n",
     L"  アダプタが使う %2 個の名前のうち %1 個がありません。例:\n    %3\n"},
    {Msg::RebuildDetail,
     L"  The adaptor must be built against this host's own OstrelLib, with the compiler the host was built with:\n"
     L"  the README of the Tuftling sources gives the steps, under \"PanelBridge and the newer host's library\".\n",
     L"  アダプタは、このホスト自身の OstrelLib に対して、ホストと同じコンパイラーで作り直す必要があります。\n"
     L"  手順は Tuftling のソースの README の「PanelBridge and the newer host's library」にあります。\n"},
    {Msg::PluginWithoutAdaptor,
     L"%1 will not show in the host: it has no adaptor. Copy PanelBridge.dll from the package into the host's "
     L"folder and name the copy %2.\n",
     L"%1 はホストに表示されません。このプラグイン用のアダプタがありません。パッケージの PanelBridge.dll を"
     L"ホストのフォルダーにコピーし、名前を %2 にしてください。\n"},
    {Msg::PluginWithoutAdaptorDetail, L"  plug-in: %1\n  its adaptor: %2\n",
     L"  プラグイン: %1\n  そのアダプタ: %2\n"},
    {Msg::AdaptorWithoutPlugin,
     L"%1 has no plug-in to show: there is no %2 in the panel folder. Copy the plug-in there, or delete %1 if "
     L"you do not use it.\n",
     L"%1 が表示するプラグインがありません。パネルフォルダーに %2 がありません。プラグインをそこへコピーするか、"
     L"使わないなら %1 を削除してください。\n"},
    {Msg::AdaptorUnnamed,
     L"%1 shows no plug-in under this name: rename it after the plug-in it is for, as TuftlingPanel.dll for "
     L"TuftlingPanel.wpn.\n",
     L"%1 は、この名前のままではどのプラグインも表示しません。表示するプラグインと同じ名前にしてください "
     L"(TuftlingPanel.wpn なら TuftlingPanel.dll)。\n"},
    {Msg::HelpWindowDetail,
     L"  %1 looks for %2;\n  without it, its panel shows the text \"WpnAdaptor プラグインの使い方\".\n",
     L"  %1 は %2 を探します。\n  見つからないと、パネルに「WpnAdaptor プラグインの使い方」と表示されます。\n"},
    {Msg::PluginReady, L"%1 is ready: %2 will show it in the host.\n",
     L"%1 は使えます。%2 がホストに表示します。\n"},
    {Msg::PluginReadyDetail,
     L"  %1 passes the load steps: a 32-bit module, both exports, the right information byte\n",
     L"  %1 は読み込みの手順を通ります: 32 ビットのモジュール、2 つのエクスポート、正しい情報バイト\n"},
    {Msg::Plugin64,
     L"%1 cannot be used: it was built for 64-bit hosts; ask its author for a 32-bit build.\n"
     L"  %2: a %3 module\n",
     L"%1 は使えません。64 ビットのホスト用に作られています。作者に 32 ビット版を頼んでください。\n"
     L"  %2: %3 のモジュール\n"},
    {Msg::PluginNotLoadable,
     L"%1 cannot be used: Windows cannot load it. It is damaged, not a plug-in, or needs a DLL that is not "
     L"there; copy it again from where you got it, or ask its author.\n  %2: %3\n",
     L"%1 は使えません。Windows が読み込めません。壊れているか、プラグインではないか、必要な DLL がありません。"
     L"入手したところからもう一度コピーするか、作者に尋ねてください。\n  %2: %3\n"},
    {Msg::PluginNoExports,
     L"%1 cannot be used: it is not a panel plug-in of the older kind. Check that it is the right file, or ask "
     L"its author.\n",
     L"%1 は使えません。古い種類のパネルプラグインではありません。正しいファイルか確かめるか、作者に"
     L"尋ねてください。\n"},
    {Msg::PluginNoExportsDetail, L"  %1: missing %2\n", L"  %1: %2 がありません\n"},
    {Msg::PluginWrongInfo,
     L"%1 cannot be used: it says it is not a plug-in this adaptor can show. Ask its author for a panel "
     L"plug-in of the older kind.\n",
     L"%1 は使えません。このアダプタが表示できるプラグインではない、とプラグイン自身が答えています。作者に"
     L"古い種類のパネルプラグインを頼んでください。\n"},
    {Msg::PluginWrongInfoDetail, L"  %1: WPN_GetPluginInfo answered 0x%2; its low byte must be 0x01\n",
     L"  %1: WPN_GetPluginInfo の答えは 0x%2 です。下位バイトは 0x01 でなければなりません\n"},
};

constexpr bool InOrder()
{
    for (size_t i = 0; i < sizeof Messages / sizeof Messages[0]; ++i)
        if (Messages[i].Id != (Msg)i)
            return false;
    return sizeof Messages / sizeof Messages[0] == (size_t)Msg::Count;
}
static_assert(InOrder(), "Messages must list every Msg once, in the order of the enumeration");

} // namespace

bool UserReadsJapanese()
{
    static const bool japanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
    return japanese;
}

std::wstring Say(Msg id, std::initializer_list<std::wstring> args)
{
    const MessageText &message = Messages[(size_t)id];
    const wchar_t *text = UserReadsJapanese() ? message.Japanese : message.English;
    std::wstring out;
    for (const wchar_t *p = text; *p; ++p) {
        const size_t n = p[0] == L'%' && p[1] >= L'1' && p[1] <= L'9' ? (size_t)(p[1] - L'1') : (size_t)-1;
        if (n < args.size()) {
            out += args.begin()[n];
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}
