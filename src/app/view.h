// The drawing window's view and the idle callback.
#pragma once

// Viewport and orthographic projection over the scene (x -320..320,
// y -240..240), round points, 3-pixel lines. Nothing else changes this state.
void initView();

// Registered through GLUI_Master: redraws the drawing window on every idle turn.
void onIdle();
