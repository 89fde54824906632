/* Plug-ins for Minesweeper Quorlet: a shared library ("*.so") in the "plugins" folder of the
 * program folder, exporting InitPlugin. Build one with
 *     cc -shared -fPIC -o myplugin.so myplugin.c
 * The program loads the plug-ins at start-up (only with "seek plugins" on in the options) and
 * never unloads them. Every call is made on the user-interface thread.
 */
#ifndef QUORLET_PLUGIN_H
#define QUORLET_PLUGIN_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TIPluginDemo TIPluginDemo;

/* A menu item was clicked: `data` as given to AddMenuItem, `sender` the item (a QAction*). */
typedef void (*TPluginClick)(void* data, void* sender);

/* The host's two operations, in this order. */
typedef struct TIPluginDemoTable {
    /* The program's application object (a QApplication*). */
    void* (*GetApplication)(TIPluginDemo* self);
    /* Appends an item under the "plug" menu; the caption (UTF-8) is copied. */
    void (*AddMenuItem)(TIPluginDemo* self, const char* caption, TPluginClick click, void* data);
} TIPluginDemoTable;

/* The host object handed to InitPlugin; it stays valid while the program runs. */
struct TIPluginDemo {
    const TIPluginDemoTable* table;
};

/* The export looked up in each library, called once. */
typedef void (*TInitPlugin)(TIPluginDemo* host);

#ifdef __cplusplus
}
#endif

#endif
