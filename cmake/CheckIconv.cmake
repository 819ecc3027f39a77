# Code page 932 conversion goes through glibc's iconv; its CP932 module is a separate
# shared object that minimal images can lack. Fail at configure time, not at run time.
include(CheckCXXSourceRuns)
check_cxx_source_runs([=[
#include <iconv.h>
int main() {
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  if (cd == (iconv_t)-1) return 1;
  iconv_close(cd);
  return 0;
}
]=] SORAMINE_HAVE_ICONV_CP932)
if(NOT SORAMINE_HAVE_ICONV_CP932)
  message(FATAL_ERROR "iconv cannot convert code page 932 (\"CP932\"): the glibc conversion "
                      "module is missing. Install the libc6 gconv modules (Debian: libc6) and retry.")
endif()
