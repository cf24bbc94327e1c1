/* The maker's values shared by the version resource and the program's code. */
#pragma once
#define CARDMEND_PRODUCT "Cardmend"
#define CARDMEND_COPYRIGHT_YEARS "2008-2026"
#define CARDMEND_COMPANY "Cardmend Project"
