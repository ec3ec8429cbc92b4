# Cleaning engine: the pass, its operations, condition evaluation, CPU load and the log.
set(QV_ENGINE_PORTABLE_SOURCES)
set(QV_ENGINE_POSIX_SOURCES)
set(QV_ENGINE_WIN32_SOURCES)
