// The exit byte of a vendor tool run through system().
#ifndef HBAFW_COMPONENT_FLASH_STATUS_H_
#define HBAFW_COMPONENT_FLASH_STATUS_H_

// 0 to 255: the tool's exit status. A shell that could not be started
// (system() gives -1) counts as 255. A shell ended by a signal counts as
// 128 plus the signal number, as the shell reports a command ended by a
// signal, so an interrupted flash is never taken for a success.
int ExitByte(int status);

#endif  // HBAFW_COMPONENT_FLASH_STATUS_H_
