function DoAnim()
  delay(10)
  fadeout(2)
  loop(2, {1, 2, 3})
  setAlpha(0.5)
  pause(5)
  showFrame()
end
