#include "app/wizard/confirmation.h"

#include "app/texts.h"

TQuestion RepairConfirmation(const TWindow* reference) {
  TQuestion q;
  q.Text = LangText(sRMWorks) + LangText(sProceedAnyway) + LangText(sNotRecommended);
  q.Icon = diQuestion;
  q.Captions = {LangText(sYes), LangText(sNo)};
  q.Buttons = qbYes | qbNo;
  q.DefaultButton = qaNo;
  q.Reference = reference;
  return q;
}
