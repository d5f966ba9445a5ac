#include "component/flash_status.h"

#include <sys/wait.h>

int ExitByte(int status) {
  if (status == -1) return 255;
  if (WIFSIGNALED(status)) return (128 + WTERMSIG(status)) & 0xFF;
  return (status & 0xFF00) >> 8;
}
