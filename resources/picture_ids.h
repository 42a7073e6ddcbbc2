/* Resource numbers of the window's pictures, shared by the resource scripts and the code. */
#pragma once

#define IDI_ORVALIS 1        /* the application's own icon: first, so the shell shows it */
#define IDI_MEMORY_MODULE 2  /* title picture and image 0 of ImageList96 */
#define IDI_EXPANSION_CARD 3 /* image 1 of ImageList96 */
#define IDB_PDF_DOCUMENT 4   /* picture of the specification buttons */
