// A test plug-in: adds two items whose clicks record their data and sender.
#include "app/quorlet_plugin.h"

extern "C" {

void* LastClickData = nullptr;
void* LastClickSender = nullptr;
void* SeenApplication = nullptr;

static int first = 1, second = 2;

static void Clicked(void* data, void* sender) {
    LastClickData = data;
    LastClickSender = sender;
}

__attribute__((visibility("default"))) void InitPlugin(TIPluginDemo* host) {
    SeenApplication = host->table->GetApplication(host);
    host->table->AddMenuItem(host, "First item", &Clicked, &first);
    host->table->AddMenuItem(host, "Zweites \xC3\xA4", &Clicked, &second);
}
}
