# Settings store: the settings record, the condition record, their file layer and the
# exported utility functions.
set(QV_SETTINGS_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Archive.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AppSetting.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OperationTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReadFailureReporter.cpp
)
set(QV_SETTINGS_POSIX_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/posix/PosixFileStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix/PosixReadFailureReporter.cpp
)
set(QV_SETTINGS_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/win32/SafeFolders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/Utility.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/Win32FileStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/Win32ReadFailureReporter.cpp
)
