#pragma once
// Resource ids of the feed reader: its lists, buttons, commands, menus, the
// list images and the feed address dialog. Shared with res/feeds.rc.
#define IDD_URL_ENTRY         111
#define IDC_URL_EDIT          1058
#define IDB_FEED_IMAGES       170
#define IDR_FEED_MENU         153
#define IDR_FEED_ITEM_MENU    154

#define IDC_FEED_TITLE_LIST   59671
#define IDC_RSS_ITEM_LIST     59672

#define ID_ENTRY              32866
#define ID_URL_DELETE         32919
#define ID_CHECK_ON           32874
#define ID_CHECK_OFF          32875
#define ID_LINK_BROWSE        32876
#define ID_CHECK_ALL          32882
#define ID_UNCHECK_ALL        32883
#define ID_CHECK_NEW          32916
#define ID_CHECK_OLD          32917
