/* SPDX-License-Identifier: 0BSD
 *
 * Start-up code: the 68000's vector table, the cartridge header, and the
 * reset code that unlocks the video chip, sets its registers, clears video
 * memory, loads the palette and calls main with the display off. */

	.include "console.inc"

	.section .vectors,"ax"
	.long	0x01000000		/* stack: the top of work RAM, 0xFF0000-0xFFFFFF */
	.long	reset
	.rept	26
	.long	fault			/* bus and address errors up to level 3 */
	.endr
	.long	fault			/* level 4: horizontal interrupt, left off */
	.long	fault
	.long	vertical_interrupt	/* level 6 */
	.rept	33
	.long	fault			/* level 7, traps and reserved vectors */
	.endr

/* The header: the console's boot code looks for "SEGA" at 0x100. Nothing
 * checks the checksum field, so it stays 0. */
.macro	field text, size
0:	.ascii	"\text"
	.fill	\size - (. - 0b), 1, ' '
.endm
	.org	0x100
	field	"SEGA MEGA DRIVE", 16
	field	"(C)VENK 2026.JAN", 16
	field	"VENK DEMO", 48		/* name in Japan */
	field	"VENK DEMO", 48		/* name elsewhere */
	field	"GM 00000000-00", 14
	.word	0			/* checksum */
	field	"J", 16			/* a 3-button pad */
	.long	0, _rom_end - 1		/* ROM */
	.long	0xFF0000, 0xFFFFFF	/* RAM */
	field	"", 64			/* no save RAM, no modem, no memo */
	field	"JUE", 16		/* every region */
	.org	0x200

	.text
	.globl	reset
reset:
	move.w	#0x2700,%sr
	/* Consoles with TMSS stop the video chip until "SEGA" is written here. */
	move.b	VERSION_REGISTER,%d0
	andi.b	#0x0F,%d0
	beq.s	1f
	move.l	#0x53454741,TMSS_REGISTER
1:	lea	VDP_DATA,%a0
	lea	VDP_CONTROL,%a1
	move.w	(%a1),%d0		/* reading the status drops a half-written command */
	lea	vdp_registers,%a2
	moveq	#VDP_REGISTER_COUNT - 1,%d1
2:	move.w	(%a2)+,(%a1)
	dbra	%d1,2b
	/* Zeros into all 64 KiB of video memory and the 40 words of scroll memory
	 * (their power-on contents are undefined), then the palette. */
	moveq	#0,%d0
	vram_write 0, (%a1)
	move.w	#0x10000 / 4 - 1,%d1
3:	move.l	%d0,(%a0)
	dbra	%d1,3b
	vsram_write 0, (%a1)
	moveq	#40 - 1,%d1
4:	move.w	%d0,(%a0)
	dbra	%d1,4b
	cram_write 0, (%a1)
	lea	palette,%a2
	moveq	#16 - 1,%d1
5:	move.w	(%a2)+,(%a0)
	dbra	%d1,5b
	/* Zeros into the RAM that C and the programs expect to start cleared. */
	lea	_bss_start,%a2
	move.w	#_bss_longs - 1,%d1
	bmi.s	7f
6:	move.l	%d0,(%a2)+
	dbra	%d1,6b
7:	jmp	main

/* Counts frames: the programs wait for it with `stop #0x2500`. */
vertical_interrupt:
	addq.l	#1,frames
	rte

fault:
	stop	#0x2700
	bra.s	fault

/* For the programs: sets the video chip to write video memory from address
 * d0.w on. Destroys d0. */
	.globl	set_vram_address
set_vram_address:
	andi.l	#0xFFFF,%d0
	lsl.l	#2,%d0			/* bits 15-14 of the address to 17-16 */
	lsr.w	#2,%d0			/* bits 13-0 back in place */
	swap	%d0
	ori.l	#0x40000000,%d0
	move.l	%d0,VDP_CONTROL
	rts

/* Video chip registers, each word 0x8000 | register << 8 | value. */
vdp_registers:
	.word	0x8004			/* 0: no horizontal interrupt */
	.word	MODE_DISPLAY_OFF	/* 1 */
	.word	0x8200 + PLANE_A / 0x400	/* 2: plane A */
	.word	0x8334			/* 3: window at 0xD000 (not shown) */
	.word	0x8407			/* 4: plane B at 0xE000, left empty */
	.word	0x855E			/* 5: sprites at 0xBC00 (none shown) */
	.word	0x8700			/* 7: background: palette 0, colour 0 */
	.word	0x8A00			/* 10: horizontal interrupt counter */
	.word	0x8B00			/* 11: the whole screen scrolls as one */
	.word	0x8C81			/* 12: 40 cells wide, no interlace, no shadow */
	.word	0x8D2E			/* 13: horizontal scroll table at 0xB800 */
	.word	0x8F02			/* 15: the address advances 2 bytes a write */
	.word	0x9001			/* 16: planes of 64 x 32 cells */
	.word	0x9100			/* 17, 18: no window */
	.word	0x9200
	.equ	VDP_REGISTER_COUNT, (. - vdp_registers) / 2

/* The 16 colours of palette 0, as 0000BBB0GGG0RRR0. */
.macro	colour red, green, blue
	.word	(\blue << 9) + (\green << 5) + (\red << 1)
.endm
	.globl	palette
palette:
	colour	3, 3, 4			/* 0: background, transparent pixels */
	colour	0, 0, 0			/* 1: outlines, plain letters */
	colour	3, 5, 7			/* 2: sky */
	colour	5, 6, 7			/* 3: light sky */
	colour	5, 1, 1			/* 4: box behind letters */
	colour	4, 4, 4			/* 5: mortar */
	colour	2, 3, 6			/* 6: bricks, deep water */
	colour	4, 5, 7			/* 7: their highlights */
	colour	2, 2, 2			/* 8: shadow of letters */
	colour	3, 2, 1			/* 9: dark earth */
	colour	5, 3, 1			/* 10: earth */
	colour	1, 5, 1			/* 11: grass */
	colour	0, 3, 0			/* 12: blocks, pipe */
	colour	4, 7, 3			/* 13: their highlights */
	colour	7, 6, 0			/* 14: coins, letters in boxes */
	colour	7, 7, 7			/* 15: white */

	.bss
	.globl	frames
	.balign	4
frames:	.space	4
