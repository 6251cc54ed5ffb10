/* SPDX-License-Identifier: 0BSD
 *
 * The timing ROM: times the decoders on the console, then shows the raw
 * results on plane A as hex words, for timing.py to read off the screen.
 *
 * A measurement starts at a fixed point of the frame, calls a decoder on the
 * sample's tiles and then counts turns of a short loop (spins) until the
 * next vertical interrupt; the interrupt handler counts frames. A call that
 * takes longer leaves fewer spins, or more frames, before that interrupt:
 * against a call of an empty routine from the same start, the call's time
 * is (frames - stub frames) * cycles a frame - (spins - stub spins) *
 * cycles a spin. A spin's cycles come from spinning through 8 whole frames.
 * So everything is measured in frames of the video chip, whose length is
 * fixed in clock cycles; no instruction timing goes into the figures.
 *
 * Each result is four words: condition << 8 + routine, tile count, frames,
 * spins. */

	.include "console.inc"

/* Conditions: where in the frame a measurement starts. */
	.equ	DISPLAY_OFF, 1		/* display off, just after an interrupt */
	.equ	VBLANK, 2		/* display on, just after the interrupt that starts vertical blanking */
	.equ	ACTIVE, 3		/* display on, at the first line of the picture */
/* Routines. CALIBRATE calls nothing and spins through `count` whole frames. */
	.equ	CALIBRATE, 0
	.equ	STUB, 1
	.equ	M68K_PORT, 2
	.equ	M68K_BUFFER, 3
	.equ	C_PORT, 4
	.equ	C_BUFFER, 5
	.equ	WAIT_PICTURE, 6		/* returns at the picture's first line */

	.equ	SCRATCH, 0x4800		/* where port routines write, past the shown tiles */

.macro	row condition, routine, count
	.byte	\condition, \routine
	.word	\count
.endm
.macro	timed condition, routine, few, many
	row	\condition, \routine, \few
	row	\condition, \routine, \many
.endm
/* The sample has 561 tiles. A call that starts at the picture's first line
 * must end within its 224 lines, and one that starts at the interrupt
 * within the blanking of an NTSC frame, about 37 lines, which WAIT_PICTURE
 * measures; timing.py checks both. */
	.section .rodata
measurements:
	row	DISPLAY_OFF, CALIBRATE, 8
	row	VBLANK, CALIBRATE, 8
	.irp	condition, DISPLAY_OFF, VBLANK, ACTIVE
	row	\condition, STUB, 0
	.endr
	row	VBLANK, WAIT_PICTURE, 0
	.irp	routine, M68K_PORT, M68K_BUFFER, C_PORT, C_BUFFER
	timed	DISPLAY_OFF, \routine, 16, 561
	.endr
	timed	VBLANK, M68K_PORT, 4, 56
	timed	VBLANK, M68K_BUFFER, 4, 56
	timed	VBLANK, C_PORT, 1, 10
	timed	VBLANK, C_BUFFER, 1, 8
	timed	ACTIVE, M68K_PORT, 16, 112
	timed	ACTIVE, M68K_BUFFER, 16, 300
	timed	ACTIVE, C_PORT, 8, 64
	timed	ACTIVE, C_BUFFER, 8, 48
	.word	-1

/* Each routine with the arguments of the register entries: a0 = stream,
 * d0.l = first tile, d1.l = count, a1 = port or buffer. */
routines:
	.long	0, 0			/* calibration */
	.long	stub, 0
	.long	venk_m68k_decode_tiles_to_port_r, VDP_DATA
	.long	venk_m68k_decode_tiles_r, buffer
	.long	c_to_port, VDP_DATA
	.long	c_to_buffer, buffer
	.long	wait_picture, 0

	.text
.macro	c_entry name, function
\name:
	move.l	%a1,-(%sp)
	move.l	%d1,-(%sp)
	move.l	%d0,-(%sp)
	move.l	%a0,-(%sp)
	jsr	\function
	lea	16(%sp),%sp
	rts
.endm
	c_entry	c_to_port, venk_decode_tiles_to_port
	c_entry	c_to_buffer, venk_decode_tiles
stub:
	rts
wait_picture:
	move.w	VDP_CONTROL,%d0
	btst	#STATUS_VBLANK,%d0
	bne.s	wait_picture
	rts

	.globl	main
main:
	lea	VDP_CONTROL,%a5
	lea	frames,%a3
	/* The sample's first 16 tiles are the digits 0-9 and A-F the results
	 * are shown with. */
	vram_write FIRST_TILE * 32, (%a5)
	lea	sample_tiles_venk,%a0
	moveq	#0,%d0
	moveq	#16,%d1
	lea	VDP_DATA,%a1
	jsr	venk_m68k_decode_tiles_to_port_r

	lea	measurements,%a6
	lea	results,%a4
1:	move.w	(%a6)+,%d2
	bmi.s	2f
	move.w	(%a6)+,%d3
	bsr.s	measure
	bra.s	1b
2:	move.w	#MODE_DISPLAY_ON,(%a5)
	lea	results,%a0
	move.l	%a4,%d7
	sub.l	%a0,%d7
	lsr.w	#1,%d7
	bsr	show_words
3:	stop	#0x2500
	bra.s	3b

/* Runs the measurement of condition and routine d2.w with d3.w tiles and
 * appends its four words at a4. */
measure:
	move.w	%d2,(%a4)+
	move.w	%d3,(%a4)+
	move.w	#MODE_DISPLAY_OFF,%d0
	cmpi.w	#VBLANK << 8,%d2
	blo.s	1f
	move.w	#MODE_DISPLAY_ON,%d0
1:	move.w	%d0,(%a5)
	move.w	#SCRATCH,%d0
	jsr	set_vram_address
	moveq	#0,%d0
	move.b	%d2,%d0
	lsl.w	#3,%d0
	lea	routines,%a2
	move.l	4(%a2,%d0.w),%a1
	move.l	0(%a2,%d0.w),%a2
	stop	#0x2500			/* a whole frame in the new mode first */
	stop	#0x2500
	cmpi.w	#ACTIVE << 8,%d2
	blo.s	4f
	jsr	wait_picture
4:	move.l	(%a3),%d5		/* the start */
	tst.b	%d2
	beq.s	6f			/* calibration: no call */
	lea	sample_tiles_venk,%a0
	moveq	#0,%d0
	moveq	#0,%d1
	move.w	%d3,%d1
	jsr	(%a2)
	moveq	#1,%d3			/* spin to the next interrupt */
6:	move.l	(%a3),%d6
	add.l	%d3,%d6
	moveq	#0,%d7
7:	addq.l	#1,%d7
	cmp.l	(%a3),%d6
	bne.s	7b
	sub.l	%d5,%d6
	move.w	%d6,(%a4)+
	move.w	%d7,(%a4)+
	rts

/* Shows d7.w words from a0 on, as hex, 8 words to a row of plane A. */
show_words:
	lea	VDP_DATA,%a1
	move.w	#PLANE_A,%d6
1:	move.w	%d6,%d0
	jsr	set_vram_address
	moveq	#8 - 1,%d5
2:	move.w	(%a0)+,%d1
	moveq	#4 - 1,%d4
3:	rol.w	#4,%d1
	moveq	#15,%d0
	and.w	%d1,%d0
	addq.w	#FIRST_TILE,%d0
	move.w	%d0,(%a1)
	dbra	%d4,3b
	moveq	#0,%d0			/* a blank cell */
	move.w	%d0,(%a1)
	subq.w	#1,%d7
	beq.s	4f
	dbra	%d5,2b
	addi.w	#PLANE_WIDTH * 2,%d6
	bra.s	1b
4:	rts

	.bss
results:
	.space	64 * 8
buffer:
	.space	561 * 32
