// placeholder until the simulator lands
namespace camsim { int placeholder() { return 0; } }
