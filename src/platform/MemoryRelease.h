#pragma once

/// Gives memory that the program freed back to the system.
namespace MemoryRelease {

/// After a large number of small blocks has been freed at once (thousands of peers gone),
/// the allocator keeps them; this returns what it can. Cheap when there is nothing to give.
void releaseFreed();

} // namespace MemoryRelease
