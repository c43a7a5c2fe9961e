/* libruvazad1: the global pointer watch of Wingtucker. Between SetHook(window)
 * and ResetHook() every pointer movement on the screen is reported to window
 * as the ClientMessage "WM_WATCHMOUSE" (format 32, data.l[0] = x | y << 16). */
#ifndef RUVAZAD1_H
#define RUVAZAD1_H

#ifdef __cplusplus
extern "C" {
#endif

/* Starts the watch for window (an X window id), or retargets a running watch;
 * 0 stops it. Returns at once: the watch connects on its own thread. */
void SetHook(unsigned long window);
/* Stops the watch and returns when its thread has ended; harmless when none runs. */
void ResetHook(void);

#ifdef __cplusplus
}
#endif

#endif
