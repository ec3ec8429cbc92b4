# Cleaning engine: the pass, its operations, condition evaluation, CPU load and the log.
set(QV_ENGINE_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Conditions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EngineSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MemClean.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Operations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ServiceLog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StdPassThread.cpp
)
set(QV_ENGINE_POSIX_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/posix/PosixEngineSystem.cpp
)
set(QV_ENGINE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/win32/Win32EngineSystem.cpp
)
