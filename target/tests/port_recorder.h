/* SPDX-License-Identifier: 0BSD */
/* Records the words written to a port, on m68k Linux (see port_recorder.c). */
#ifndef PORT_RECORDER_H
#define PORT_RECORDER_H

#include <stddef.h>
#include <stdint.h>

/* Returns the port; the words written to it from now on go to buffer, at
   most capacity of them (one more ends the run). */
volatile uint16_t *port_recorder_start(uint16_t *buffer, size_t capacity);

/* The number of words written since port_recorder_start. */
size_t port_recorder_count(void);

#endif
