/* Everything bridgecheck says, in English and in Japanese, from one table
 * with both languages side by side (Messages.cpp). A message may hold %1 to
 * %9, filled in order of number, so each language puts them where its word
 * order wants them. */
#pragma once
#include <initializer_list>
#include <string>

enum class Msg {
    Usage,
    Version,
    SeeHelp,
    CannotReadCommandLine,
    UnknownOption,
    OptionNeedsFolder,
    SecondHostFolder,
    NoSuchFolder,
    PanelsIsWpnFolder,
    NoLibrary,
    NoLibraryDetail,
    LibraryUnreadable,
    Library64,
    Library64Detail,
    NoAdaptor,
    NoAdaptorDetail,
    NoPackageAdaptor,
    AdaptorUnreadable,
    AdaptorUnreadableDetail,
    Compatible,
    CompatibleDetail,
    OtherCompiler,
    OtherCompilerDetail,
    LacksNames,
    LacksNamesDetail,
    RebuildDetail,
    PluginWithoutAdaptor,
    PluginWithoutAdaptorDetail,
    AdaptorWithoutPlugin,
    AdaptorUnnamed,
    HelpWindowDetail,
    PluginReady,
    PluginReadyDetail,
    Plugin64,
    PluginNotLoadable,
    PluginNoExports,
    PluginNoExportsDetail,
    PluginWrongInfo,
    PluginWrongInfoDetail,
    Count
};

/* Japanese when the user's interface language is Japanese (the primary
 * language of GetUserDefaultUILanguage), English otherwise. */
bool UserReadsJapanese();

/* The message in the user's language with %1, %2, ... filled in. */
std::wstring Say(Msg id, std::initializer_list<std::wstring> args = {});
