/* SPDX-License-Identifier: 0BSD
 *
 * The background demo: a screen that venk --map took apart into its
 * distinct tiles and its tile map. Loads the image's palette (two lines),
 * decodes the distinct tiles into video memory from tile 1 on, and copies
 * the map's words, which already hold each cell's tile (numbered from 1, by
 * --base 1), palette line and flips, to plane A row by row. */

	.include "console.inc"

	.text
	.globl	main
main:
	lea	VDP_CONTROL,%a5
	lea	VDP_DATA,%a4
	cram_write 0, (%a5)
	lea	background_venk_palette,%a0
	move.l	#BACKGROUND_VENK_PALETTE_COLOURS-1,%d0	/* from venk */
1:	move.w	(%a0)+,(%a4)
	dbra	%d0,1b

	vram_write FIRST_TILE * 32, (%a5)
	lea	background_venk,%a0
	moveq	#0,%d0			/* from tile 0 */
	move.l	#BACKGROUND_VENK_TILES,%d1	/* the distinct tiles, from venk */
	movea.l	%a4,%a1
	jsr	venk_m68k_decode_tiles_to_port_r

	lea	background_map,%a2
	move.w	#PLANE_A,%d0
	move.l	#BACKGROUND_MAP_HEIGHT-1,%d2
2:	move.w	%d0,%d5
	jsr	set_vram_address
	move.w	%d5,%d0
	move.l	#BACKGROUND_MAP_WIDTH-1,%d3
3:	move.w	(%a2)+,(%a4)		/* the cell's word, as venk wrote it */
	dbra	%d3,3b
	addi.w	#PLANE_WIDTH * 2,%d0
	dbra	%d2,2b

	move.w	#MODE_DISPLAY_ON,(%a5)
4:	stop	#0x2500
	bra.s	4b
