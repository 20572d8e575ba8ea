/* The system's <fcntl.h> with what Apple's adds and the editor uses. */
#include_next <fcntl.h>
#ifndef F_FULLFSYNC
#define F_FULLFSYNC 51
#endif
