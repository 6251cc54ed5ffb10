/* SPDX-License-Identifier: 0BSD
 *
 * The demo: decodes the sample's VENK stream straight into video memory and
 * shows every tile on plane A. Assembled as is, it decodes with the 68000
 * routine; with --defsym C_DECODER=1, with the C decoder built for the 68000. */

	.include "console.inc"

/* The sample's first 177 tiles are a sheet (a font in three styles, then a
 * level's tiles), 40 to a row from the top left; its last 384 make a 32 x 12
 * screen of that level, shown as such from row 6, column 4. */
	.equ	SHEET_TILES, 177
	.equ	SHEET_CELL, PLANE_A
	.equ	SCENE_TILES, 32 * 12
	.equ	SCENE_CELL, PLANE_A + (6 * PLANE_WIDTH + 4) * 2

	.text
	.globl	main
main:
	lea	VDP_CONTROL,%a5
	vram_write FIRST_TILE * 32, (%a5)
	lea	sample_tiles_venk,%a0
	move.l	#SAMPLE_TILES_VENK_TILES,%d1	/* the tile count, from venk */
.ifdef C_DECODER
	pea	VDP_DATA
	move.l	%d1,-(%sp)
	clr.l	-(%sp)			/* from tile 0 */
	move.l	%a0,-(%sp)
	jsr	venk_decode_tiles_to_port
	lea	16(%sp),%sp
.else
	moveq	#0,%d0			/* from tile 0 */
	lea	VDP_DATA,%a1
	jsr	venk_m68k_decode_tiles_to_port_r
.endif

	move.w	#SHEET_CELL,%d0
	move.w	#FIRST_TILE,%d1
	move.w	#SHEET_TILES,%d2
	moveq	#40,%d3
	bsr.s	place_tiles
	move.w	#SCENE_CELL,%d0
	move.w	#SCENE_TILES,%d2
	moveq	#32,%d3
	bsr.s	place_tiles

	move.w	#MODE_DISPLAY_ON,(%a5)
1:	stop	#0x2500
	bra.s	1b

/* Puts d2.w tiles, from tile d1.w on, on the plane in rows of d3.w cells,
 * the first at the plane address d0.w; leaves d1.w at the next tile. */
place_tiles:
	lea	VDP_DATA,%a0
1:	move.w	%d0,%d5
	jsr	set_vram_address
	move.w	%d5,%d0
	move.w	%d3,%d4			/* the cells of this row */
	cmp.w	%d2,%d4
	bls.s	2f
	move.w	%d2,%d4
2:	sub.w	%d4,%d2
	subq.w	#1,%d4
3:	move.w	%d1,(%a0)		/* palette 0, no flip, low priority */
	addq.w	#1,%d1
	dbra	%d4,3b
	addi.w	#PLANE_WIDTH * 2,%d0
	tst.w	%d2
	bne.s	1b
	rts
