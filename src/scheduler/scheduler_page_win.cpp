// The scheduler page of the main window. The weekly scheduler (schedule
// file, engine, week view, day editor) attaches here; until it does, these
// places keep the page quiet and the scheduler stopped.
#include "app/zelvar.h"

namespace zelvar {

void TForm1::SaveScheduleDay(int) {}
void TForm1::LoadScheduleDay(int) {}
void TForm1::FillWeekGrid() {}
void TForm1::SelectToday() {}
void TForm1::ShowDayEditor(bool) {}
void TForm1::ComputeNextSchedule() {}
void TForm1::ApplySchedulerPageTexts(int) {}

}  // namespace zelvar

namespace zelvar {
void TForm1::StopSchedulerFromCountdown() {}
}  // namespace zelvar
