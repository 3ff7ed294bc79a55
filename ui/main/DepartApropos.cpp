#include "ui/about/Apropos.h"
#include "ui/main/Depart.h"

void Depart::MenuApropos_Click() {
    // Returns once the box is closed; until then the window and the tray's menu wait.
    Apropos::Show(
        {m_services.documents, m_services.pointeur, m_services.programme, m_informations});
}
