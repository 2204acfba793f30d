/* Export and import decoration of OstrelLib. The library is built with
 * OSTREL_BUILD defined and exports its free functions and classes; every
 * module that uses it imports them from OstrelLib.dll by name. The same
 * declaration works for mingw-w64 and MSVC. */
#pragma once

#if defined(OSTREL_BUILD)
#define OSTREL_API __declspec(dllexport)
#else
#define OSTREL_API __declspec(dllimport)
#endif
