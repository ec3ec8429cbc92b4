// The widgets belong to the window program's exported interface. Compiled into QuorvelW
// (QV_WIDGETS_EXPORTS defined there) they are exported from it; linked from the static
// library, as the tests and the demonstration program do, the macro is empty.
#pragma once

#if defined(QV_WIDGETS_EXPORTS)
#define QV_WIDGETS_API __declspec(dllexport)
#else
#define QV_WIDGETS_API
#endif
