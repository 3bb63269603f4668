# Fails when a source file under ROOT reaches past the platform interfaces: toolkit or
# operating-system headers, the wall clock, the environment, or standard output.
# Each rule names what to use instead. Run as: cmake -DROOT=<dir> -P check_core_boundary.cmake
if(NOT ROOT)
  message(FATAL_ERROR "ROOT is not set")
endif()

set(rules
  "#[ \t]*include[ \t]*[<\"](Q[A-Za-z]+|Qt[A-Za-z]*/)|Qt header: core draws nothing; ask the platform/ interfaces"
  "#[ \t]*include[ \t]*[<\"]X11/|X11 header: use platform/ (KeySender, Shell)"
  "#[ \t]*include[ \t]*[<\"]curl/|curl header: downloads go through platform/ Internet"
  "#[ \t]*include[ \t]*[<\"]espeak|espeak header: speech belongs to the character runtime"
  "#[ \t]*include[ \t]*[<\"](unistd|fcntl|dirent|dlfcn|pthread|spawn|signal|termios|poll|pwd|glob|sys/[a-z_]+)\\.h|POSIX header: use the C++ standard library, or platform/ System"
  "(system_clock|steady_clock|high_resolution_clock|gettimeofday|clock_gettime|[^a-zA-Z_:.>]time[ \t]*\\([ \t]*(NULL|nullptr|0)?[ \t]*\\)|localtime)|wall clock: time enters through platform/ Clock"
  "getenv|getenv: ask platform/ System::Environment"
  "(std::cout|printf[ \t]*\\(|[^a-z_]puts[ \t]*\\(|stdout)|standard output: core writes nothing there; report through platform/ Ui or the trace"
)

file(GLOB_RECURSE files "${ROOT}/*.h" "${ROOT}/*.cpp" "${ROOT}/*.hpp" "${ROOT}/*.cc")
set(failures 0)
foreach(rule IN LISTS rules)
  string(FIND "${rule}" "|" cut REVERSE)
  string(SUBSTRING "${rule}" 0 ${cut} pattern)
  math(EXPR after "${cut} + 1")
  string(SUBSTRING "${rule}" ${after} -1 advice)
  foreach(file IN LISTS files)
    file(STRINGS "${file}" lines)
    set(line_no 0)
    foreach(line IN LISTS lines)
      math(EXPR line_no "${line_no} + 1")
      string(REGEX REPLACE "//.*$" "" code "${line}")
      if(code MATCHES "${pattern}")
        message("${file}:${line_no}: ${advice}")
        math(EXPR failures "${failures} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} boundary violation(s)")
endif()
message("core boundary clean: ${ROOT}")
