// A file that breaks every boundary rule, so the checker's own test can see it fail.
#include <QString>
#include <X11/Xlib.h>
#include <curl/curl.h>
#include <espeak-ng/speak_lib.h>
#include <unistd.h>
auto now = std::chrono::system_clock::now();
const char* home = getenv("HOME");
void Print() { std::cout << "x"; }
