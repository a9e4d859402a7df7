#pragma once
/* The converter library "liblib.so": movies to projector programs and
 * back. A projector made here is the projector program that lies beside
 * the library ("projector"), then the movie, then the bytes 56 34 12 FA
 * and the movie's length as 4 bytes little-endian; the file gets the
 * executable bits the user's umask allows.
 *
 * Both functions take two zero-terminated 8-bit paths, source first.
 * They return 0 on success and one of the codes below on failure; the
 * text of the failure is then in convertmessage() of the calling thread. The target is written to a temporary file beside it
 * and renamed over it only when complete, so a failed call never leaves
 * part of a file and never touches an existing target. A source that is
 * also the target is refused. Any thread; calls do not share state. */

#ifdef __cplusplus
extern "C" {
#endif

enum {
    CONVERT_OK = 0,
    CONVERT_BAD_ARGUMENT = 1,   /* a path is null or empty */
    CONVERT_CANNOT_READ = 2,    /* the source cannot be opened or read */
    CONVERT_NOT_A_MOVIE = 3,    /* swf2exe: the source is no movie */
    CONVERT_NO_MOVIE = 4,       /* exe2swf: no movie found in the source */
    CONVERT_SAME_FILE = 5,      /* the target is the source itself */
    CONVERT_CANNOT_WRITE = 6,   /* the target cannot be written */
    CONVERT_NO_PROJECTOR = 7,   /* the projector program is missing */
    CONVERT_TOO_LARGE = 8       /* a movie of 4 GiB or more */
};

int swf2exe(const char *source, const char *target);
int exe2swf(const char *source, const char *target);
/* Why the calling thread's last call failed; "" after a success. */
const char *convertmessage(void);

#ifdef __cplusplus
}
#endif
