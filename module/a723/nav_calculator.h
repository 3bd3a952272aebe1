// Great-circle navigation of the A-723 receiver; it keeps no state.
#pragma once

class NavCalculator {};
