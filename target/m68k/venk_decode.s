/* SPDX-License-Identifier: 0BSD
 *
 * VENK tile decoder for the Motorola 68000, GNU as syntax (m68k-elf or
 * m68k-linux-gnu as, with -m68000). Plain 68000 code: no self-modifying code,
 * no RAM but the registers and 12 bytes of stack besides the return address.
 *
 * The routines trust the stream: check it once beforehand with
 * venk_check_stream from target/c (in the build tool or a debug build).
 * The stream, and so its dictionary 4 bytes on, must start at an even
 * address, and so must the tile buffer: blocks are copied a word at a time.
 *
 * Entry points, the first two callable from C (GCC's m68k convention:
 * arguments on the stack, d0-d1/a0-a1 free to clobber; see venk_m68k.h):
 *
 *   void venk_m68k_decode_tiles(const uint8_t *stream, unsigned long first,
 *                               unsigned long count, uint8_t *tiles);
 *   void venk_m68k_decode_tiles_to_port(const uint8_t *stream, unsigned long first,
 *                                       unsigned long count, volatile uint16_t *port);
 *
 * and for assembly callers, with the same arguments in registers:
 *
 *   venk_m68k_decode_tiles_r          a0 = stream, d0.l = first, d1.l = count,
 *   venk_m68k_decode_tiles_to_port_r  a1 = tile buffer or port
 *
 * Each decodes tiles [first, first + count); count may be 0. The buffer
 * routine writes 32 bytes per tile; the port routine writes each tile as
 * 16 words to the one address in a1, in the order of the tile's bytes. All
 * four destroy d0-d1/a0-a1 and keep every other register.
 *
 * Registers used: d0-d1, a0-a4 (a2-a4 saved on the stack and restored).
 * Code size: 240 bytes for all four entry points, 120 for each routine with
 * its two entries (.text of the object, as m68k-linux-gnu-size -A reports it;
 * target/run_checks.sh checks this figure).
 *
 * Cycles per tile, counted from the 68000's instruction execution times (M68000
 * User's Manual, section 8), for the loop body of either routine, no wait
 * states (a video port may add some):
 *
 *   4 x  move.w (a0)+,d0             8    32   a quadrant's offset
 *   4 x  lea    0(a2,d0.l),aN       12    48   its block
 *  16 x  move.w (aN)+,(a1)+ or (a1) 12   192   two bytes of a row
 *   1 x  dbra   d1,loop (taken)     10    10
 *                                        ---
 *                                        282 cycles per tile
 *
 * That is 36.8 us per tile at 7.67 MHz. Once per call: 184 cycles of entry
 * and exit for a register entry (110 before the loop, 74 after it, with the
 * last dbra's 4 extra) and 64 more for a C entry; 30 in all for count 0 (94
 * for C); and 32 for each further 65536 tiles. */

	.text

/* Copies the next two quadrants of the map entry at a0, a left one and a
 * right one, to four rows of the tile: a row is two bytes of each. The
 * offsets are unsigned and may reach 0xFFF6, so they index the dictionary
 * (a2) as longs, from d0 with its upper word cleared once: the loads into
 * d0.w keep it clear. */
.macro	two_quadrants dest
	move.w	(%a0)+,%d0
	lea	0(%a2,%d0.l),%a3
	move.w	(%a0)+,%d0
	lea	0(%a2,%d0.l),%a4
	.rept	4
	move.w	(%a3)+,\dest
	move.w	(%a4)+,\dest
	.endr
.endm

/* \dest is (a1)+ for a buffer, (a1) for a port. */
.macro	decode_tiles dest
	tst.l	%d1
	beq.s	9f
	movem.l	%a2-%a4,-(%sp)
	lea	4(%a0),%a2		/* dictionary */
	lsl.l	#3,%d0
	lea	0(%a2,%d0.l),%a0	/* entry of `first`, less the dictionary's size */
	moveq	#0,%d0
	move.w	-2(%a2),%d0		/* dictionary size */
	adda.l	%d0,%a0			/* entry of `first` */
	subq.l	#1,%d1
1:	two_quadrants \dest			/* rows 0 to 3 */
	two_quadrants \dest			/* rows 4 to 7 */
	dbra	%d1,1b
	/* dbra counts the low word only; the high word counts the passes of
	 * 65536 tiles that are left. */
	swap	%d1
	dbra	%d1,2f
	movem.l	(%sp)+,%a2-%a4
9:	rts
2:	swap	%d1
	bra.s	1b
.endm

/* Loads the C arguments into the registers of the register entries. */
.macro	load_c_arguments
	move.l	4(%sp),%a0
	move.l	8(%sp),%d0
	move.l	12(%sp),%d1
	move.l	16(%sp),%a1
.endm

	.globl	venk_m68k_decode_tiles
	.globl	venk_m68k_decode_tiles_r
	.globl	venk_m68k_decode_tiles_to_port
	.globl	venk_m68k_decode_tiles_to_port_r

venk_m68k_decode_tiles:
	load_c_arguments
venk_m68k_decode_tiles_r:
	decode_tiles (%a1)+

venk_m68k_decode_tiles_to_port:
	load_c_arguments
venk_m68k_decode_tiles_to_port_r:
	decode_tiles (%a1)

	.section .note.GNU-stack,"",@progbits
