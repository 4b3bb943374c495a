/* Resource ids shared by the program and resources.rc.
 * Written by tools/make_resources.py; edit the generator, not this file. */
#ifndef YUNTI_RESOURCE_IDS_H
#define YUNTI_RESOURCE_IDS_H

#define IDI_APP_ICON           129  /* program icon */
#define IDR_STOCK_ARCHIVE      200  /* client's stock badge files */
#define IDR_CAPTION_BUTTONS    201  /* title bar button sheet */
#define IDR_MESSAGE_ICONS      202  /* message box icons */
#define IDR_RANK_PRESENT       203  /* current-rank box before a pick */
#define IDR_RANK_TARGET        204  /* target-rank box before a pick */

/* Picker badges: rank r (1..103) is resource IDR_BADGE(r). */
#define IDR_BADGE_FIRST        1001
#define IDR_BADGE_LAST         1103
#define IDR_BADGE(r)           (1000 + (r))

#endif /* YUNTI_RESOURCE_IDS_H */
