/* SPDX-License-Identifier: 0BSD */
/*
 * Records every word that code writes to a "port" on m68k Linux: the port is
 * a word in a page that may only be read, so each write to it stops with
 * SIGSEGV before it happens. The handler carries out the instruction itself
 * (MOVE.W from Dn, An, (An) or (An)+ to (An), the ways a decoder writes a
 * word to a port),
 * records the word and resumes after the instruction. Any other faulting
 * instruction is reported and ends the run, so nothing is missed.
 */
#define _GNU_SOURCE
#include "port_recorder.h"

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

static volatile uint16_t *port;
static uint16_t *words;
static size_t word_count;
static size_t word_capacity;

static void give_up(const char *why, unsigned instruction) {
    fprintf(stderr, "port recorder: %s (instruction %04x)\n", why, instruction);
    _exit(2);
}

static void on_fault(int signal_number, siginfo_t *info, void *context) {
    greg_t *registers = ((ucontext_t *)context)->uc_mcontext.gregs;
    const unsigned instruction = *(const uint16_t *)(uintptr_t)registers[R_PC];
    const unsigned mode = (instruction >> 3) & 7;
    greg_t *source = &registers[(mode == 0 ? R_D0 : R_A0) + (instruction & 7)];
    uint16_t value = 0;
    (void)signal_number;
    if ((instruction & 0xF1C0) != 0x3080 || info->si_addr != (void *)port) {
        give_up("a fault that is not MOVE.W to the port", instruction);
    }
    switch (mode) {
    case 0: /* Dn */
    case 1: value = (uint16_t)*source; break; /* An */
    case 2: value = *(const uint16_t *)(uintptr_t)*source; break; /* (An) */
    case 3: value = *(const uint16_t *)(uintptr_t)*source; *source += 2; break; /* (An)+ */
    default: give_up("a source the recorder does not know", instruction);
    }
    if (word_count == word_capacity) {
        give_up("more words than expected", instruction);
    }
    words[word_count++] = value;
    registers[R_PC] += 2;
}

volatile uint16_t *port_recorder_start(uint16_t *buffer, size_t capacity) {
    if (port == NULL) {
        struct sigaction action;
        const long page = sysconf(_SC_PAGESIZE);
        void *memory = mmap(NULL, (size_t)page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) {
            give_up("no page for the port", 0);
        }
        port = memory;
        memset(&action, 0, sizeof action);
        action.sa_sigaction = on_fault;
        action.sa_flags = SA_SIGINFO;
        sigaction(SIGSEGV, &action, NULL);
    }
    words = buffer;
    word_count = 0;
    word_capacity = capacity;
    return port;
}

size_t port_recorder_count(void) {
    return word_count;
}
