/* SPDX-License-Identifier: 0BSD */
/*
 * Records every word that code writes to a "port" on m68k Linux: the port is
 * a word in a page that may only be read, so each write to it stops with
 * SIGSEGV before it happens. The handler carries out the instruction itself
 * (MOVE.W <ea>,(An), the only way a decoder writes a word to a port),
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
    const uint16_t *code = (const uint16_t *)(uintptr_t)registers[R_PC];
    const unsigned instruction = code[0];
    const unsigned mode = (instruction >> 3) & 7;
    greg_t *source = &registers[(mode == 0 ? R_D0 : R_A0) + (instruction & 7)];
    unsigned length = 2;
    uint16_t value;
    (void)signal_number;
    if ((instruction & 0xF1C0) != 0x3080 || info->si_addr != (void *)port) {
        give_up("a fault that is not MOVE.W to the port", instruction);
    }
    switch (mode) {
    case 0:
    case 1: value = (uint16_t)*source; break;                   /* Dn, An */
    case 2: value = *(const uint16_t *)(uintptr_t)*source; break; /* (An) */
    case 3: value = *(const uint16_t *)(uintptr_t)*source; *source += 2; break;
    case 4: *source -= 2; value = *(const uint16_t *)(uintptr_t)*source; break;
    case 5: value = *(const uint16_t *)(uintptr_t)(*source + (int16_t)code[1]); length = 4; break;
    default:
        if ((instruction & 077) != 074) {
            give_up("a source the recorder does not know", instruction);
        }
        value = code[1]; /* #immediate */
        length = 4;
    }
    if (word_count == word_capacity) {
        give_up("more words than expected", instruction);
    }
    words[word_count++] = value;
    registers[R_PC] += (greg_t)length;
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
