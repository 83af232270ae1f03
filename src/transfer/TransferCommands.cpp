#include "transfer/TransferCommands.h"

TransferCommands::TransferCommands(ItemTrack *track, SerialForm *link, SetupForm *form, LengthUnits *units,
                                   QTimer *positionTimer, UserPrompt *prompt, QObject *parent)
    : QObject(parent), m_track(track), m_link(link), m_form(form), m_units(units), m_timer(positionTimer),
      m_prompt(prompt)
{
}

void TransferCommands::upload() {}
void TransferCommands::download() {}
void TransferCommands::open_file() {}
void TransferCommands::save_file() {}
void TransferCommands::factory_reset() {}
void TransferCommands::reset_units() {}
