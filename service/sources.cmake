# Service host: the control handler, the service loop and the stop sequence (portable), and the
# program on the service control manager (Win32).
set(QV_SERVICE_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/MemCleanEngine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ServiceRoutine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ServiceSettings.cpp
)
set(QV_SERVICE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/win32/ServiceProgram.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/Win32ServiceSystem.cpp
)
